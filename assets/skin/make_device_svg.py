#!/usr/bin/env python3
"""Writes device.svg, the editable drawing of the Torchwheel handheld.

Every element whose id is a segment name becomes one picture of the default skin; the skin
renderer (tools/skin_render) cuts each one out at its own bounds. Elements carry no transform on
their ancestors (the renderer ignores ancestors' transforms), so everything is placed in absolute
device coordinates here. Run it again after editing and commit both files:

    python3 assets/skin/make_device_svg.py > assets/skin/device.svg
"""
import math
import random

W, H = 780, 480            # device picture = window size
LCD_X, LCD_Y, LCD_W, LCD_H = 180, 52, 420, 300
INK = "#17201c"            # lit LCD segment
INK_OPACITY = 0.86
GAP = "#b9c3ab"            # LCD background colour: detail lines cut into segments
KEY = "#b7c1a9"            # key colour of bitmap segments (close to the screen so edges blend)

HERO_X = [54, 150, 222, 314]
FLAME_X = [102, 268]
ITEM_CX = [54, 186, 314]
ITEM_Y = [60, 78, 97, 118, 140]           # positions 1..5
ITEM_DX = {0: [-2, -16, -20, -14, 0], 1: [14, 6, -2, -4, 0], 2: [2, 16, 20, 14, 0]}
FLAME_Y = [70, 100, 130, 160, 190, 222, 262]
DIGIT_X = [262, 290, 326, 354]
DIGIT_Y, DIGIT_W, DIGIT_H = 7, 24, 40

out = []


def emit(s):
    out.append(s)


def fmt(v):
    return f"{v:.2f}".rstrip("0").rstrip(".")


def L(x, y):
    """LCD-local to device coordinates."""
    return LCD_X + x, LCD_Y + y


def pts(points):
    return " ".join(f"{fmt(x)},{fmt(y)}" for x, y in points)


def lcd_segment(sid, body, gaps="", frame=None):
    """A lit LCD shape: a faint shadow on the reflector behind the glass, then the ink."""
    emit(f'<g id="{sid}">')
    if frame:
        x, y, w, h = frame
        emit(f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="#000" fill-opacity="0"/>')
    emit(f'<g transform="translate(1.6,1.8)" fill="#1e2a1c" fill-opacity="0.16" '
         f'stroke="#1e2a1c" stroke-opacity="0.16">{body}</g>')
    emit(f'<g fill="{INK}" stroke="{INK}" opacity="{INK_OPACITY}">{body}{gaps}</g>')
    emit('</g>')


def line(x1, y1, x2, y2, w):
    return (f'<line x1="{fmt(x1)}" y1="{fmt(y1)}" x2="{fmt(x2)}" y2="{fmt(y2)}" '
            f'stroke-width="{w}" stroke-linecap="round" fill="none"/>')


def poly(points):
    return f'<polygon points="{pts(points)}" stroke="none"/>'


def circle(cx, cy, r, extra='stroke="none"'):
    return f'<circle cx="{fmt(cx)}" cy="{fmt(cy)}" r="{fmt(r)}" {extra}/>'


def path(d, extra='stroke="none"'):
    return f'<path d="{d}" {extra}/>'


def gap_path(d, w=1.2):
    return f'<path d="{d}" fill="none" stroke="{GAP}" stroke-width="{w}" stroke-linecap="round"/>'


def text(x, y, s, size, anchor="middle", weight="bold", fill=None, extra=""):
    f = f' fill="{fill}"' if fill else ""
    return (f'<text x="{fmt(x)}" y="{fmt(y)}" font-family="DejaVu Sans" font-size="{size}" '
            f'font-weight="{weight}" text-anchor="{anchor}" stroke="none"{f} {extra}>{s}</text>')


# ----------------------------------------------------------------------------- device body

def defs():
    emit('<defs>')
    emit('<linearGradient id="metal" x1="0" y1="0" x2="0" y2="1">'
         '<stop offset="0" stop-color="#f1f3f5"/><stop offset="0.18" stop-color="#d9dde1"/>'
         '<stop offset="0.55" stop-color="#c4c9cf"/><stop offset="0.85" stop-color="#b3b9c0"/>'
         '<stop offset="1" stop-color="#9aa1a9"/></linearGradient>')
    emit('<linearGradient id="metalSheen" x1="0" y1="0" x2="1" y2="0">'
         '<stop offset="0" stop-color="#ffffff" stop-opacity="0"/>'
         '<stop offset="0.35" stop-color="#ffffff" stop-opacity="0.28"/>'
         '<stop offset="0.5" stop-color="#ffffff" stop-opacity="0"/>'
         '<stop offset="0.7" stop-color="#ffffff" stop-opacity="0.16"/>'
         '<stop offset="1" stop-color="#ffffff" stop-opacity="0"/></linearGradient>')
    emit('<linearGradient id="rim" x1="0" y1="0" x2="0" y2="1">'
         '<stop offset="0" stop-color="#8b9299"/><stop offset="0.5" stop-color="#5d646c"/>'
         '<stop offset="1" stop-color="#30353b"/></linearGradient>')
    emit('<linearGradient id="bezel" x1="0" y1="0" x2="0" y2="1">'
         '<stop offset="0" stop-color="#3b4047"/><stop offset="0.5" stop-color="#23272c"/>'
         '<stop offset="1" stop-color="#15181b"/></linearGradient>')
    emit('<linearGradient id="lcd" x1="0" y1="0" x2="0.4" y2="1">'
         '<stop offset="0" stop-color="#c4cdb6"/><stop offset="0.6" stop-color="#b9c3ab"/>'
         '<stop offset="1" stop-color="#aeb99f"/></linearGradient>')
    emit('<linearGradient id="lcdShade" x1="0" y1="0" x2="0" y2="1">'
         '<stop offset="0" stop-color="#000" stop-opacity="0.28"/>'
         '<stop offset="1" stop-color="#000" stop-opacity="0"/></linearGradient>')
    emit('<linearGradient id="lcdShadeL" x1="0" y1="0" x2="1" y2="0">'
         '<stop offset="0" stop-color="#000" stop-opacity="0.22"/>'
         '<stop offset="1" stop-color="#000" stop-opacity="0"/></linearGradient>')
    emit('<linearGradient id="glass" x1="0" y1="0" x2="1" y2="1">'
         '<stop offset="0" stop-color="#ffffff" stop-opacity="0.20"/>'
         '<stop offset="0.32" stop-color="#ffffff" stop-opacity="0.06"/>'
         '<stop offset="0.33" stop-color="#ffffff" stop-opacity="0"/>'
         '<stop offset="1" stop-color="#ffffff" stop-opacity="0"/></linearGradient>')
    emit('<linearGradient id="lid" x1="0" y1="0" x2="0" y2="1">'
         '<stop offset="0" stop-color="#8d949c"/><stop offset="0.5" stop-color="#6c737b"/>'
         '<stop offset="1" stop-color="#4e545b"/></linearGradient>')
    emit('<radialGradient id="capRed" cx="0.4" cy="0.35" r="0.7">'
         '<stop offset="0" stop-color="#ff8a5c"/><stop offset="0.45" stop-color="#d8391c"/>'
         '<stop offset="1" stop-color="#7d1608"/></radialGradient>')
    emit('<radialGradient id="capRedDown" cx="0.5" cy="0.6" r="0.7">'
         '<stop offset="0" stop-color="#c23218"/><stop offset="0.6" stop-color="#9c230e"/>'
         '<stop offset="1" stop-color="#5e0f05"/></radialGradient>')
    emit('<radialGradient id="capDark" cx="0.4" cy="0.35" r="0.7">'
         '<stop offset="0" stop-color="#6b7078"/><stop offset="0.5" stop-color="#30343a"/>'
         '<stop offset="1" stop-color="#111316"/></radialGradient>')
    emit('<radialGradient id="capDarkDown" cx="0.5" cy="0.6" r="0.7">'
         '<stop offset="0" stop-color="#34383e"/><stop offset="0.6" stop-color="#1d2024"/>'
         '<stop offset="1" stop-color="#08090a"/></radialGradient>')
    emit('<radialGradient id="well" cx="0.5" cy="0.45" r="0.5">'
         '<stop offset="0.78" stop-color="#0d0f12" stop-opacity="0.9"/>'
         '<stop offset="0.9" stop-color="#3a3f45" stop-opacity="0.7"/>'
         '<stop offset="1" stop-color="#ffffff" stop-opacity="0.5"/></radialGradient>')
    emit('<radialGradient id="gloss" cx="0.42" cy="0.22" r="0.55">'
         '<stop offset="0" stop-color="#ffffff" stop-opacity="0.55"/>'
         '<stop offset="1" stop-color="#ffffff" stop-opacity="0"/></radialGradient>')
    emit('<radialGradient id="hole" cx="0.5" cy="0.4" r="0.5">'
         '<stop offset="0" stop-color="#050607"/><stop offset="0.8" stop-color="#1b1e22"/>'
         '<stop offset="1" stop-color="#e8eaed"/></radialGradient>')
    emit('</defs>')


def brushed_lines(x0, y0, x1, y1, seed, dark=0.05, light=0.10, radius=0.0):
    """Fine horizontal grain inside the rounded rectangle (x0, y0)-(x1, y1)."""
    rnd = random.Random(seed)
    parts = []
    y = y0 + 0.5
    while y < y1:
        op = rnd.uniform(0.01, light if rnd.random() < 0.5 else dark)
        col = "#ffffff" if rnd.random() < 0.5 else "#3c4148"
        inset = 0.0  # keep the grain off the rounded corners
        dy = max(y0 + radius - y, y - (y1 - radius), 0.0)
        if dy > 0:
            inset = radius - math.sqrt(max(radius * radius - dy * dy, 0.0)) + 1.0
        xa = x0 + inset + rnd.uniform(0, 40)
        xb = x1 - inset - rnd.uniform(0, 40)
        if xb > xa:
            parts.append(f'<line x1="{fmt(xa)}" y1="{fmt(y)}" x2="{fmt(xb)}" y2="{fmt(y)}" '
                         f'stroke="{col}" stroke-opacity="{op:.3f}" stroke-width="0.8"/>')
        y += rnd.uniform(0.8, 2.2)
    return "".join(parts)


def button_well(cx, cy, r):
    return (f'<circle cx="{cx}" cy="{cy}" r="{r + 4}" fill="url(#well)"/>'
            f'<circle cx="{cx}" cy="{cy + 1.5}" r="{r + 1}" fill="#000" fill-opacity="0.35"/>')


def button_cap(cx, cy, r, grad, ridges=False):
    s = (f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="url(#{grad})" stroke="#000" '
         f'stroke-opacity="0.45" stroke-width="0.8"/>')
    if ridges:
        for i in range(-2, 3):
            s += (f'<line x1="{cx - r * 0.55}" y1="{cy + i * r * 0.22}" x2="{cx + r * 0.55}" '
                  f'y2="{cy + i * r * 0.22}" stroke="#000" stroke-opacity="0.16" stroke-width="1.4"/>')
    return s


BUTTONS = {  # name: (cx, cy, r, cap gradient, label, label below?)
    "acl": (58, 74, 9, "capDark", "ACL"),
    "alarm": (106, 74, 12, "capDark", "ALARM"),
    "game_a": (652, 74, 12, "capDark", "GAME A"),
    "game_b": (696, 74, 12, "capDark", "GAME B"),
    "time": (740, 74, 12, "capDark", "TIME"),
    "left": (88, 292, 36, "capRed", "LEFT"),
    "right": (692, 292, 36, "capRed", "RIGHT"),
}


def body():
    emit('<g id="im_background_bottom">')
    # the lowest picture covers the whole window; outside the device it is clear
    emit(f'<rect x="0" y="0" width="{W}" height="{H}" fill="#000" fill-opacity="0"/>')
    outline = f'M 50,6 H {W - 50} Q {W - 6},6 {W - 6},50 V {H - 60} Q {W - 6},{H - 6} {W - 60},{H - 6} ' \
              f'H 60 Q 6,{H - 6} 6,{H - 60} V 50 Q 6,6 50,6 Z'
    emit(path(outline, 'fill="url(#rim)" stroke="#23272c" stroke-width="1.5"'))
    face = f'M 54,12 H {W - 54} Q {W - 12},12 {W - 12},54 V {H - 62} Q {W - 12},{H - 14} {W - 62},{H - 14} ' \
           f'H 62 Q 12,{H - 14} 12,{H - 62} V 54 Q 12,12 54,12 Z'
    emit(path(face, 'fill="url(#metal)"'))
    emit(f'<g>{brushed_lines(12, 12, W - 12, H - 14, 7, radius=44)}</g>')
    emit(path(face, 'fill="url(#metalSheen)"'))
    # soft shading towards the lower edge and a bright top lip, as a lit object
    emit(path(face, 'fill="none" stroke="#ffffff" stroke-opacity="0.7" stroke-width="1.2"'))
    emit(f'<rect x="14" y="{H - 40}" width="{W - 28}" height="24" rx="12" fill="#000" fill-opacity="0.07"/>')
    # printed frame lines around the screen
    emit(f'<rect x="152" y="26" width="476" height="362" rx="20" fill="none" stroke="#5e6570" '
         f'stroke-width="1.2" stroke-opacity="0.8"/>')
    # bezel
    emit(f'<rect x="162" y="34" width="456" height="336" rx="14" fill="#0f1114" fill-opacity="0.5"/>')
    emit(f'<rect x="164" y="36" width="452" height="332" rx="13" fill="url(#bezel)"/>')
    emit(f'<rect x="165" y="37" width="450" height="330" rx="12" fill="none" stroke="#7b828a" '
         f'stroke-opacity="0.6" stroke-width="1"/>')
    emit(f'<rect x="{LCD_X - 2}" y="{LCD_Y - 2}" width="{LCD_W + 4}" height="{LCD_H + 4}" rx="3" '
         f'fill="#050607"/>')
    emit(text(390, 48, "TICKHAND  WIDEGLASS", 8, fill="#c7ccd2", extra='letter-spacing="3"'))
    emit(text(390, 364, "KESTROVA", 9, fill="#e0a33a", extra='letter-spacing="4"'))
    # brand print below the screen
    emit(text(390, 422, "TORCHWHEEL", 30, fill="#2d3137",
              extra='letter-spacing="6" font-style="italic"'))
    emit(text(390, 421, "TORCHWHEEL", 30, fill="#c8381c",
              extra='letter-spacing="6" font-style="italic" fill-opacity="0.0"'))
    emit(f'<rect x="236" y="432" width="308" height="3" fill="#c8381c"/>')
    emit(f'<rect x="236" y="437" width="308" height="1.5" fill="#e0a33a"/>')
    emit(text(390, 456, "WIDE SCREEN  ·  TW-50", 9, fill="#4a5058", extra='letter-spacing="2"'))
    # buttons: wells, released caps, printed labels
    for name, (cx, cy, r, grad, label) in BUTTONS.items():
        emit(button_well(cx, cy, r))
        emit(button_cap(cx, cy, r, grad, ridges=r > 20))
        if r > 20:
            emit(text(cx, cy + r + 20, label, 10, fill="#3a3f46", extra='letter-spacing="2"'))
            arrow = "M {0},{1} l -9,0 l 0,-5 l -10,9 l 10,9 l 0,-5 l 9,0 Z" if name == "left" else \
                    "M {0},{1} l 9,0 l 0,-5 l 10,9 l -10,9 l 0,-5 l -9,0 Z"
            ax = cx + (12 if name == "left" else -12)
            emit(path(arrow.format(ax, cy - r - 22), 'fill="#c8381c"'))
        else:
            emit(text(cx, cy + r + 14, label, 7.5, fill="#3a3f46"))
    # speaker grille
    for row in range(5):
        for col in range(7):
            x = 46 + col * 12 + (6 if row % 2 else 0)
            y = 384 + row * 10
            emit(f'<circle cx="{x}" cy="{y}" r="2.6" fill="url(#hole)"/>')
    emit(text(692, 400, "GAME OF SKILL", 7, fill="#4a5058", extra='letter-spacing="1.5"'))
    emit(text(692, 412, "AND CLOCK", 7, fill="#4a5058", extra='letter-spacing="1.5"'))
    for i in range(4):   # screws of the back plate show through the faceplate corners
        sx, sy = [(34, 34), (W - 34, 34), (34, H - 36), (W - 34, H - 36)][i]
        emit(f'<circle cx="{sx}" cy="{sy}" r="5" fill="#8f969e" stroke="#4c5258" stroke-width="0.8"/>')
        emit(f'<line x1="{sx - 3.4}" y1="{sy}" x2="{sx + 3.4}" y2="{sy}" stroke="#3c4147" stroke-width="1.2"/>')
    emit('</g>')


def screen_back():
    emit('<g id="im_background_back">')
    emit(f'<rect x="{LCD_X}" y="{LCD_Y}" width="{LCD_W}" height="{LCD_H}" fill="url(#lcd)"/>')
    rnd = random.Random(3)
    for _ in range(140):  # the reflector's faint grain
        x = LCD_X + rnd.uniform(2, LCD_W - 2)
        y = LCD_Y + rnd.uniform(2, LCD_H - 2)
        emit(f'<circle cx="{fmt(x)}" cy="{fmt(y)}" r="{fmt(rnd.uniform(0.4, 1.1))}" '
             f'fill="#ffffff" fill-opacity="{rnd.uniform(0.05, 0.16):.2f}"/>')
    emit(f'<rect x="{LCD_X}" y="{LCD_Y}" width="{LCD_W}" height="14" fill="url(#lcdShade)"/>')
    emit(f'<rect x="{LCD_X}" y="{LCD_Y}" width="12" height="{LCD_H}" fill="url(#lcdShadeL)"/>')
    emit('</g>')


def screen_top():
    emit('<g id="im_background_screen_top">')
    emit(f'<rect x="{LCD_X}" y="{LCD_Y}" width="{LCD_W}" height="{LCD_H}" fill="url(#glass)"/>')
    emit(f'<rect x="{LCD_X + 0.5}" y="{LCD_Y + 0.5}" width="{LCD_W - 1}" height="{LCD_H - 1}" '
         f'fill="none" stroke="#000" stroke-opacity="0.35" stroke-width="1"/>')
    emit('</g>')


def lid():
    x, y, w, h = 158, 30, 464, 344
    emit('<g id="im_background_front">')
    emit(f'<rect x="{x - 2}" y="{y + 2}" width="{w + 6}" height="{h + 6}" rx="18" fill="#000" fill-opacity="0.18"/>')
    emit(f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="16" fill="url(#lid)" stroke="#2f343a" stroke-width="1.2"/>')
    emit(f'<g>{brushed_lines(x + 1, y + 1, x + w - 1, y + h - 1, 11, dark=0.09, light=0.12, radius=15)}</g>')
    emit(f'<rect x="{x + 1.5}" y="{y + 1.5}" width="{w - 3}" height="{h - 3}" rx="15" fill="none" '
         f'stroke="#ffffff" stroke-opacity="0.35" stroke-width="1.2"/>')
    for i in range(9):  # finger grip ridges at the left edge
        gx = x + 16 + i * 5
        emit(f'<rect x="{gx}" y="{y + 110}" width="2.2" height="124" rx="1" fill="#2f343a" fill-opacity="0.55"/>')
        emit(f'<rect x="{gx + 2.2}" y="{y + 110}" width="1" height="124" fill="#ffffff" fill-opacity="0.35"/>')
    # embossed emblem: a wheel of torches
    cx, cy = 390, 172
    emit(f'<circle cx="{cx}" cy="{cy}" r="54" fill="none" stroke="#ffffff" stroke-opacity="0.25" stroke-width="5"/>')
    emit(f'<circle cx="{cx}" cy="{cy}" r="54" fill="none" stroke="#262a2f" stroke-opacity="0.55" stroke-width="3"/>')
    for k in range(8):
        a = k * math.pi / 4
        x1, y1 = cx + 12 * math.cos(a), cy + 12 * math.sin(a)
        x2, y2 = cx + 52 * math.cos(a), cy + 52 * math.sin(a)
        emit(f'<line x1="{fmt(x1)}" y1="{fmt(y1)}" x2="{fmt(x2)}" y2="{fmt(y2)}" stroke="#262a2f" '
             f'stroke-opacity="0.5" stroke-width="3"/>')
        fx, fy = cx + 64 * math.cos(a), cy + 64 * math.sin(a)
        emit(f'<circle cx="{fmt(fx)}" cy="{fmt(fy)}" r="5" fill="#e0a33a" fill-opacity="0.85"/>')
    emit(f'<circle cx="{cx}" cy="{cy}" r="12" fill="#c8381c"/>')
    emit(text(390, 278, "TORCHWHEEL", 26, fill="#2a2e33", extra='letter-spacing="5" font-style="italic"'))
    emit(text(389, 277, "TORCHWHEEL", 26, fill="#e6e9ec", extra='letter-spacing="5" font-style="italic"'))
    emit(text(390, 300, "KESTROVA  ·  TICKHAND WIDEGLASS", 9, fill="#e0a33a", extra='letter-spacing="2"'))
    emit(text(390, 352, "PRESS THE TAB TO OPEN", 7.5, fill="#d5d9dd", extra='letter-spacing="2"'))
    emit('</g>')


def open_tab():
    # drawn whole (a JPEG): a rectangular latch plate on the lid
    x, y, w, h = 556, 170, 54, 64
    emit('<g id="btn_open">')
    emit(f'<rect x="{x}" y="{y}" width="{w}" height="{h}" fill="#6d747c"/>')
    emit(f'<rect x="{x + 3}" y="{y + 3}" width="{w - 6}" height="{h - 6}" rx="4" fill="#c8381c" '
         f'stroke="#5e0f05" stroke-width="1"/>')
    emit(f'<rect x="{x + 5}" y="{y + 5}" width="{w - 10}" height="{(h - 10) / 2}" rx="3" fill="#ffffff" fill-opacity="0.18"/>')
    emit(text(x + w / 2, y + 26, "OPEN", 11, fill="#ffffff"))
    emit(path(f"M {x + 17},{y + 36} l 20,0 l -4,-5 M {x + 37},{y + 36} l -4,5",
              'fill="none" stroke="#ffffff" stroke-width="2.4" stroke-linecap="round"'))
    for i in range(3):
        emit(f'<rect x="{x + 14}" y="{y + 46 + i * 4}" width="{w - 28}" height="1.5" fill="#5e0f05"/>')
    emit('</g>')


def buttons():
    for name, (cx, cy, r, grad, _label) in BUTTONS.items():
        if name != "alarm":
            emit(f'<g id="btn_{name}_down">')
            emit(f'<circle cx="{cx}" cy="{cy}" r="{r + 1}" fill="#0d0f12"/>')
            emit(button_cap(cx, cy + 1, r - 0.6, grad + "Down", ridges=r > 20))
            emit('</g>')
        # the released look is printed on the body; the top layer only adds the cap's gloss, so a
        # pressed picture below it shows through
        emit(f'<g id="btn_{name}_top">')
        emit(f'<circle cx="{cx}" cy="{cy}" r="{r + 1}" fill="#000" fill-opacity="0.01"/>')
        emit(f'<ellipse cx="{cx - r * 0.12}" cy="{cy - r * 0.38}" rx="{r * 0.62}" ry="{r * 0.42}" fill="url(#gloss)"/>')
        emit('</g>')


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
    # the two oil pans the burning drops fall from
    for fx in FLAME_X:
        cx = x0 + fx
        parts.append(path(f"M {cx - 13},{y0 + 54} h 26 l -4,5 h -18 Z"))
        parts.append(line(cx, y0 + 50, cx, y0 + 54, 1.4))
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


def main():
    emit(f'<svg xmlns="http://www.w3.org/2000/svg" version="1.2" baseProfile="tiny" '
         f'width="{W}" height="{H}" viewBox="0 0 {W} {H}">')
    emit('<title>Torchwheel TW-50 handheld</title>')
    defs()
    body()
    screen_back()
    game_background()
    panel()
    items()
    flames()
    hero()
    character()
    buttons()
    screen_top()
    lid()
    open_tab()
    emit('</svg>')
    print("\n".join(out))


if __name__ == "__main__":
    main()
