"""Coordinates, colours and drawing helpers shared by the parts of device.svg."""
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
FLAME_Y = [75, 104, 133, 162, 190, 222, 262]
DIGIT_X = [262, 290, 326, 354]
DIGIT_Y, DIGIT_W, DIGIT_H = 7, 24, 40

# the document being written, element by element (one run of the generator)
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


