#!/usr/bin/env python3
"""Writes device.svg, the editable drawing of the Torchwheel handheld.

Every element whose id is a segment name becomes one picture of the default skin; the skin
renderer (tools/skin_render) cuts each one out at its own bounds. Elements carry no transform on
their ancestors (the renderer ignores ancestors' transforms), so everything is placed in absolute
device coordinates here. Run it again after editing and commit both files:

    python3 -B assets/skin/make_device_svg.py > assets/skin/device.svg
"""
import math
import random

from device_common import *  # noqa: F401,F403 (the drawing vocabulary)
from device_common import out
from device_lcd import character, flames, game_background, hero, items, panel


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
