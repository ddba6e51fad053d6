"""The LCD segments of device.svg: scenery, panel, torches, flames, juggler, ringmaster."""
import math

from device_common import *  # noqa: F401,F403 (the drawing vocabulary)


# ----------------------------------------------------------------------------- LCD segments

def torch_shape(cx, cy, angle, scale=1.0):
    """A juggling torch centred at (cx, cy), rotated by angle degrees (0 = flame up)."""
    a = math.radians(angle)

    def rot(x, y):
        x *= scale
        y *= scale
        return cx + x * math.cos(a) - y * math.sin(a), cy + x * math.sin(a) + y * math.cos(a)

    handle = [rot(-1.5, -3), rot(1.5, -3), rot(2.3, 12), rot(-2.3, 12)]
    cup = [rot(-4.2, -6), rot(4.2, -6), rot(3, -2), rot(-3, -2)]
    flame = [rot(0, -21), rot(2.5, -16), rot(6, -12.5), rot(5.5, -8.5), rot(3.5, -6.8), rot(-3.5, -6.8),
             rot(-5.5, -8.5), rot(-5.6, -12), rot(-3.6, -15.5), rot(-2.6, -12.5), rot(-1.2, -15)]
    body = poly(handle) + poly(cup) + poly(flame)
    k1, k2, k3 = rot(-1.8, -8.8), rot(0.4, -14), rot(1.8, -9.2)
    gaps = gap_path(f"M {fmt(k1[0])},{fmt(k1[1])} Q {fmt(k2[0])},{fmt(k2[1])} {fmt(k3[0])},{fmt(k3[1])}", 1.3)
    return body, gaps


def items():
    for r in range(3):
        for p in range(1, 8):
            if p <= 5:
                cx = ITEM_CX[r] + ITEM_DX[r][p - 1]
                cy = ITEM_Y[p - 1]
                angle = [150, 95, 40, 330, 10][p - 1] * (1 if r != 2 else -1)
            elif p == 6:
                cx = [28, 186, 342][r]
                cy = 176
                angle = [-150, 160, 150][r]
            else:
                cx = [27, 186, 346][r]
                cy = 284
                angle = [-90, 90, 90][r]
            body, gaps = torch_shape(LCD_X + cx, LCD_Y + cy, angle, 1.05)
            lcd_segment(f"im_item_{r + 1}_{p}", body, gaps)


def flame_shape(cx, cy, size, floor=False):
    if floor:
        d = (f"M {cx - 14},{cy + 8} Q {cx - 15},{cy - 2} {cx - 8},{cy - 6} Q {cx - 7},{cy - 1} {cx - 4},{cy} "
             f"Q {cx - 5},{cy - 10} {cx + 1},{cy - 15} Q {cx + 1},{cy - 7} {cx + 6},{cy - 3} "
             f"Q {cx + 8},{cy - 8} {cx + 11},{cy - 9} Q {cx + 15},{cy} {cx + 14},{cy + 8} Z")
        g = f"M {cx - 6},{cy + 5} Q {cx},{cy - 4} {cx + 6},{cy + 5}"
        return path(d), gap_path(g, 1.4)
    s = size
    d = (f"M {cx},{cy - 13 * s} Q {cx + 3 * s},{cy - 7 * s} {cx + 8 * s},{cy - 2 * s} "
         f"Q {cx + 10 * s},{cy + 8 * s} {cx},{cy + 11 * s} Q {cx - 10 * s},{cy + 8 * s} {cx - 8 * s},{cy - 2 * s} "
         f"Q {cx - 6 * s},{cy - 6 * s} {cx - 3 * s},{cy - 8 * s} Q {cx - 2 * s},{cy - 4 * s} {cx - 1 * s},{cy - 4 * s} "
         f"Q {cx - 1 * s},{cy - 9 * s} {cx},{cy - 13 * s} Z")
    g = f"M {cx - 3 * s},{cy + 4 * s} Q {cx},{cy - 4 * s} {cx + 3 * s},{cy + 4 * s}"
    return path(d), gap_path(g, 1.5)


def flames():
    for f in range(2):
        for p in range(1, 8):
            cx = LCD_X + FLAME_X[f]
            cy = LCD_Y + FLAME_Y[p - 1]
            body, gaps = flame_shape(cx, cy, 1.05, floor=(p == 7))
            lcd_segment(f"im_flame_{f + 1}_{p}", body, gaps)


def hero():
    for p in range(4):
        x = LCD_X + HERO_X[p]
        y = LCD_Y
        # body: head, jester cap, torso with diamond pattern cut in, seat
        head = circle(x, y + 173, 7.5)
        cap = path(f"M {x - 9},{y + 169} Q {x - 14},{y + 156} {x - 18},{y + 160} Q {x - 10},{y + 152} {x},{y + 162} "
                   f"Q {x + 10},{y + 152} {x + 18},{y + 160} Q {x + 14},{y + 156} {x + 9},{y + 169} Z")
        bells = circle(x - 18, y + 161, 2.2) + circle(x + 18, y + 161, 2.2)
        torso = path(f"M {x - 8},{y + 184} Q {x},{y + 181} {x + 8},{y + 184} L {x + 7},{y + 214} "
                     f"Q {x},{y + 218} {x - 7},{y + 214} Z")
        ruff = path(f"M {x - 10},{y + 183} Q {x - 5},{y + 178} {x},{y + 182} Q {x + 5},{y + 178} {x + 10},{y + 183} "
                    f"Q {x},{y + 188} {x - 10},{y + 183} Z")
        seat = path(f"M {x - 8},{y + 219} Q {x},{y + 215} {x + 8},{y + 219} L {x + 6},{y + 223} L {x - 6},{y + 223} Z")
        gaps = (gap_path(f"M {x - 4},{y + 192} L {x},{y + 198} L {x + 4},{y + 192} M {x - 4},{y + 206} "
                         f"L {x},{y + 200} L {x + 4},{y + 206}", 1.1)
                + gap_path(f"M {x - 3},{y + 172} h 1.5 M {x + 1.5},{y + 172} h 1.5", 1.2)
                + gap_path(f"M {x - 2.5},{y + 176.5} Q {x},{y + 178.5} {x + 2.5},{y + 176.5}", 1))
        lcd_segment(f"im_hero_{p + 1}_body", head + cap + bells + torso + ruff + seat, gaps)

        # arms held low, hands ready
        dn = (line(x - 8, y + 187, x - 16, y + 201, 4) + line(x - 16, y + 201, x - 21, y + 193, 3.6)
              + line(x + 8, y + 187, x + 16, y + 201, 4) + line(x + 16, y + 201, x + 21, y + 193, 3.6)
              + circle(x - 21.5, y + 191, 3) + circle(x + 21.5, y + 191, 3))
        lcd_segment(f"im_hero_{p + 1}_hand_down", dn)

        # arms raised towards the item of the catch row
        lean = {0: 0, 1: 10, 2: -10, 3: 0}[p]
        up = (line(x - 8, y + 186, x - 14 + lean * 0.4, y + 170, 4)
              + line(x - 14 + lean * 0.4, y + 170, x - 9 + lean, y + 152, 3.6)
              + line(x + 8, y + 186, x + 14 + lean * 0.4, y + 170, 4)
              + line(x + 14 + lean * 0.4, y + 170, x + 9 + lean, y + 152, 3.6)
              + circle(x - 9 + lean, y + 150, 3) + circle(x + 9 + lean, y + 150, 3))
        lcd_segment(f"im_hero_{p + 1}_hand_up", up)

        # legs: pedals at the front and back of the wheel's crank
        def leg(side, raised):
            hx = x + 4 * side
            if raised:
                return (line(hx, y + 222, x + 11 * side, y + 234, 4.2)
                        + line(x + 11 * side, y + 234, x + 6 * side, y + 250, 3.8)
                        + path(f"M {x + 6 * side - 3},{y + 249} h 9 v 3.4 h -9 Z" if side > 0 else
                               f"M {x + 6 * side - 6},{y + 249} h 9 v 3.4 h -9 Z"))
            return (line(hx, y + 222, x + 7 * side, y + 244, 4.2)
                    + line(x + 7 * side, y + 244, x + 4 * side, y + 268, 3.8)
                    + path(f"M {x + 4 * side - 3},{y + 267} h 9 v 3.4 h -9 Z" if side > 0 else
                           f"M {x + 4 * side - 6},{y + 267} h 9 v 3.4 h -9 Z"))

        lcd_segment(f"im_hero_{p + 1}_leg_left_up", leg(-1, True))
        lcd_segment(f"im_hero_{p + 1}_leg_left_down", leg(-1, False))
        lcd_segment(f"im_hero_{p + 1}_leg_right_up", leg(1, True))
        lcd_segment(f"im_hero_{p + 1}_leg_right_down", leg(1, False))

        # base: the unicycle's wheel and fork
        wheel = (circle(x, y + 262, 14, f'fill="none" stroke-width="3.2"')
                 + line(x, y + 224, x, y + 262, 2.6)
                 + circle(x, y + 262, 2.6))
        spokes = "".join(line(x + 3 * math.cos(a), y + 262 + 3 * math.sin(a),
                              x + 12 * math.cos(a), y + 262 + 12 * math.sin(a), 1.2)
                         for a in [k * math.pi / 3 + 0.3 for k in range(6)])
        lcd_segment(f"im_hero_{p + 1}_base", wheel + spokes)


def character():
    x0 = LCD_X + 392
    y0 = LCD_Y
    for frame in (1, 2):
        x = x0
        y = y0 + (0 if frame == 1 else 0)
        hat = path(f"M {x - 9},{y + 196} h 18 v -3 h -3 v -16 h -12 v 16 h -3 Z")
        head = circle(x, y + 204, 7)
        coat = path(f"M {x - 10},{y + 214} Q {x},{y + 210} {x + 10},{y + 214} L {x + 13},{y + 246} "
                    f"L {x + 4},{y + 246} L {x},{y + 232} L {x - 4},{y + 246} L {x - 13},{y + 246} Z")
        legs = (line(x - 5, y + 246, x - 6, y + 268, 4) + line(x + 5, y + 246, x + 6, y + 268, 4)
                + path(f"M {x - 10},{y + 267} h 7 v 3.4 h -7 Z") + path(f"M {x + 3},{y + 267} h 7 v 3.4 h -7 Z"))
        crate = path(f"M {x - 18},{y + 272} h 36 v 18 h -36 Z")
        gaps = (gap_path(f"M {x - 16},{y + 274} L {x + 16},{y + 288} M {x + 16},{y + 274} L {x - 16},{y + 288}", 1.2)
                + gap_path(f"M {x - 3},{y + 203} h 1.4 M {x + 1.6},{y + 203} h 1.4", 1.2)
                + gap_path(f"M {x - 8},{y + 191} h 16", 1.2))
        if frame == 1:  # hands on the cane, watching
            arms = (line(x - 9, y + 218, x - 14, y + 236, 3.6) + line(x + 9, y + 218, x - 8, y + 238, 3.4)
                    + line(x - 18, y + 232, x - 18, y + 270, 2.2) + circle(x - 18, y + 231, 2.6))
            mouth = gap_path(f"M {x - 2},{y + 208} h 4", 1)
        else:  # laughing, hat raised high
            hat = path(f"M {x - 24},{y + 174} h 18 v -3 h -3 v -16 h -12 v 16 h -3 Z")
            head = circle(x, y + 204, 7) + path(f"M {x - 7},{y + 199} Q {x},{y + 193} {x + 7},{y + 199} Z")
            arms = (line(x - 9, y + 218, x - 15, y + 198, 3.6) + line(x - 15, y + 198, x - 15, y + 180, 3.4)
                    + line(x + 9, y + 218, x + 15, y + 232, 3.6) + circle(x + 15, y + 234, 2.6))
            mouth = gap_path(f"M {x - 3},{y + 207} Q {x},{y + 211} {x + 3},{y + 207}", 1.2)
        body = hat + head + coat + legs + crate + arms
        lcd_segment(f"im_character_2_{frame}", body, gaps + mouth)


def game_background():
    x0, y0 = LCD_X, LCD_Y
    parts = []
    # floor boards of the ring, broken where the flames burn out
    parts.append(f'<rect x="{x0 + 4}" y="{y0 + 277}" width="{LCD_W - 8}" height="2.4" stroke="none"/>')
    for i in range(12):
        xx = x0 + 12 + i * 34
        parts.append(line(xx, y0 + 282, xx + 14, y0 + 282, 1.2))
    # the two oil bowls the burning drops fall from
    for fx in FLAME_X:
        cx = x0 + fx
        # a bowl hung on three chains, tipping its burning oil
        parts.append(path(f"M {cx - 12},{y0 + 51} h 24 Q {cx + 11},{y0 + 58} {cx},{y0 + 58} "
                          f"Q {cx - 11},{y0 + 58} {cx - 12},{y0 + 51} Z"))
        for dx in (-10, 0, 10):
            parts.append(line(cx, y0 + 46.5, cx + dx, y0 + 51, 1.0))
        parts.append(circle(cx, y0 + 46.5, 1.5))
    # stars over the stage
    for (sx, sy) in [(140, 64), (236, 70), (296, 60), (378, 90)]:
        cx, cy = x0 + sx, y0 + sy
        parts.append(poly([(cx + 4 * math.cos(a) * (1 if k % 2 == 0 else 0.4),
                            cy + 4 * math.sin(a) * (1 if k % 2 == 0 else 0.4))
                           for k, a in enumerate([math.pi * 2 * k / 10 - math.pi / 2 for k in range(10)])]))
    # a bitmap segment: keep its bottom-left pixel the key colour
    emit('<g id="im_game_background">')
    emit(f'<rect x="{x0}" y="{y0 + 54}" width="{LCD_W}" height="{LCD_H - 54}" fill="{KEY}"/>')
    body = "".join(parts)
    emit(f'<g transform="translate(1.6,1.8)" fill="#1e2a1c" fill-opacity="0.16" stroke="#1e2a1c" '
         f'stroke-opacity="0.16">{body}</g>')
    emit(f'<g fill="{INK}" stroke="{INK}" opacity="{INK_OPACITY}">{body}</g>')
    emit('</g>')


# ----------------------------------------------------------------------------- panel

SEVEN = {  # segments a..g lit per digit
    0: "abcdef", 1: "bc", 2: "abdeg", 3: "abcdg", 4: "bcfg", 5: "acdfg", 6: "acdefg", 7: "abc",
    8: "abcdefg", 9: "abcdfg",
}


def seven_segment(x, y, lit):
    """A slanted seven-segment digit in a DIGIT_W x DIGIT_H place at (x, y)."""
    t = 3.6   # stroke thickness
    sl = 0.12  # slant: x shift per pixel upwards

    def P(px, py):  # place-local with slant around the middle
        return x + px + (DIGIT_H / 2 - py) * sl, y + py

    # slant and shadow must stay inside the place: glyphs are the place's exact size
    w, h = DIGIT_W - 7, DIGIT_H - 4
    x1, x2 = 2.6, 2.6 + w
    ya, yg, yd = 2, 2 + h / 2, 2 + h

    def hseg(yy):
        return [P(x1 + 2, yy), P(x1 + 2 + t / 2, yy - t / 2), P(x2 - 2 - t / 2, yy - t / 2), P(x2 - 2, yy),
                P(x2 - 2 - t / 2, yy + t / 2), P(x1 + 2 + t / 2, yy + t / 2)]

    def vseg(xx, ytop, ybot):
        return [P(xx, ytop + 2), P(xx + t / 2, ytop + 2 + t / 2), P(xx + t / 2, ybot - 2 - t / 2), P(xx, ybot - 2),
                P(xx - t / 2, ybot - 2 - t / 2), P(xx - t / 2, ytop + 2 + t / 2)]

    segs = {"a": hseg(ya + t / 2), "g": hseg(yg), "d": hseg(yd - t / 2),
            "f": vseg(x1 + t / 2, ya, yg), "b": vseg(x2 - t / 2, ya, yg),
            "e": vseg(x1 + t / 2, yg, yd), "c": vseg(x2 - t / 2, yg, yd)}
    return "".join(poly(segs[s]) for s in lit)


def panel():
    x0, y0 = LCD_X, LCD_Y
    # miss marks: a broken torch each; mark 1 also carries the word MISS
    for i in range(3):
        bx = x0 + [8, 72, 96][i]
        body, gaps = torch_shape(bx + (52 if i == 0 else 10), y0 + 28, 35, 0.95)
        cross = line(bx + (44 if i == 0 else 2), y0 + 36, bx + (60 if i == 0 else 18), y0 + 20, 2.2)
        extra = text(bx + 20, y0 + 33, "MISS", 12) if i == 0 else ""
        lcd_segment(f"im_panel_miss_{i + 1}", body + extra, gaps + gap_path(
            f"M {bx + (44 if i == 0 else 2)},{y0 + 36} L {bx + (60 if i == 0 else 18)},{y0 + 20}", 2.6) + cross)
    lcd_segment("im_panel_game_a", text(x0 + 152, y0 + 21, "GAME A", 9.5))
    lcd_segment("im_panel_game_b", text(x0 + 152, y0 + 38, "GAME B", 9.5))
    # alarm: bell, left ring waves, right ring waves
    bx, by = x0 + 208, y0 + 24
    bell = path(f"M {bx - 9},{by + 8} Q {bx - 7},{by + 5} {bx - 7},{by - 2} Q {bx - 7},{by - 10} {bx},{by - 11} "
                f"Q {bx + 7},{by - 10} {bx + 7},{by - 2} Q {bx + 7},{by + 5} {bx + 9},{by + 8} Z")
    bell += circle(bx, by + 11, 2.4) + circle(bx, by - 12, 1.6)
    lcd_segment("im_panel_alarm_1", bell)
    lcd_segment("im_panel_alarm_2", path(
        f"M {bx - 12},{by - 9} Q {bx - 17},{by - 2} {bx - 12},{by + 5} M {bx - 16},{by - 12} Q {bx - 22},{by - 2} {bx - 16},{by + 8}",
        'fill="none" stroke-width="1.8" stroke-linecap="round"'))
    lcd_segment("im_panel_alarm_3", path(
        f"M {bx + 12},{by - 9} Q {bx + 17},{by - 2} {bx + 12},{by + 5} M {bx + 16},{by - 12} Q {bx + 22},{by - 2} {bx + 16},{by + 8}",
        'fill="none" stroke-width="1.8" stroke-linecap="round"'))
    lcd_segment("im_panel_time_am", text(x0 + 245, y0 + 20, "AM", 9.5))
    lcd_segment("im_panel_time_pm", text(x0 + 245, y0 + 38, "PM", 9.5))
    cx = x0 + (DIGIT_X[1] + DIGIT_W + DIGIT_X[2]) / 2 + 1
    lcd_segment("im_panel_time_colon", circle(cx + 1, y0 + DIGIT_Y + 13, 2.2) + circle(cx - 0.6, y0 + DIGIT_Y + 27, 2.2))
    for i in range(4):
        px, py = x0 + DIGIT_X[i], y0 + DIGIT_Y
        lcd_segment(f"im_panel_digit_{i + 1}", seven_segment(px, py, SEVEN[8]),
                    frame=(px, py, DIGIT_W, DIGIT_H))
    # glyphs are never shown; they share digit place 4's rectangle so that any place can show them
    px, py = x0 + DIGIT_X[3], y0 + DIGIT_Y
    for d in range(10):
        lcd_segment(f"im_panel_number_{d}", seven_segment(px, py, SEVEN[d]), frame=(px, py, DIGIT_W, DIGIT_H))
