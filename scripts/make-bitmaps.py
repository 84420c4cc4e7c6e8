#!/usr/bin/env python3
"""Draws the module's bitmaps and writes them as 8-bit palette BMPs into src/resources/bitmaps.

The take-value buttons (324 normal, 325 pressed, 326 focused, 327 disabled) show the value marker
of the data pane: a triangle pointing left at the level of the value. The data pane draws 326, 327
and 328 as its mean, maximum and minimum markers, 16 x 16 with the AND raster operation on white,
the value on pixel row 8. The help glyph (354) is a question mark in a blue disc. The graph's
tracking cursor (100) is a ring with a cross, 17 x 17 with the hot spot at (8, 8).

Every bitmap keeps a colour table whose first entry, light grey (192, 192, 192), is the background
and the colour of the bottom-left pixel: loading with LR_LOADMAP3DCOLORS turns it into the button
face, LR_LOADTRANSPARENT into the window colour (white, for the AND markers), and GDI+ remaps it to
transparent. The drawings use no other colour near it. The buttons and the help glyph scale with
their dialog and also come at 144 dpi (24 x 24), under their id + 1000.

Run from anywhere: python3 scripts/make-bitmaps.py
"""
import math
import os
import struct

BACKGROUND = (192, 192, 192)
BLACK = (0, 0, 0)
NAVY = (0, 0, 128)
SHADOW = (128, 128, 128)
WHITE = (255, 255, 255)
MAROON = (128, 0, 0)
DISC = (32, 96, 192)

SUPERSAMPLE = 4


def write_bmp(path, pixels):
    """pixels: rows top to bottom of (r, g, b); written bottom-up with a colour table."""
    height = len(pixels)
    width = len(pixels[0])
    palette = [BACKGROUND]
    for row in pixels:
        for colour in row:
            if colour not in palette:
                palette.append(colour)
    assert len(palette) <= 256
    stride = (width + 3) & ~3
    bits = bytearray()
    for row in reversed(pixels):
        line = bytes(palette.index(c) for c in row)
        bits += line + bytes(stride - width)
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(bits), 3780, 3780,
                       len(palette), len(palette))
    with open(path, "wb") as f:
        f.write(header + info + table + bits)


def blank(size):
    return [[BACKGROUND] * size for _ in range(size)]


def triangle_cells(size):
    """The cells of the left-pointing triangle: tip at column 1/8 of the size on the middle row,
    base at 13/16, reaching 6/16 above and below the middle."""
    middle = size // 2
    tip = round(size * 2 / 16)
    base = round(size * 13 / 16)
    reach = size * 6 / 16
    cells = set()
    for x in range(tip, base + 1):
        half = (x - tip) * reach / (base - tip)
        for y in range(size):
            if abs(y - middle) <= half + 1e-9:
                cells.add((x, y))
    return cells


def marker(size, colour, shift=0):
    pixels = blank(size)
    for (x, y) in triangle_cells(size):
        if 0 <= x + shift < size and 0 <= y + shift < size:
            pixels[y + shift][x + shift] = colour
    return pixels


def embossed_marker(size):
    """The disabled look: the triangle in shadow grey with a white copy one pixel down-right."""
    pixels = blank(size)
    cells = triangle_cells(size)
    for (x, y) in cells:
        if x + 1 < size and y + 1 < size:
            pixels[y + 1][x + 1] = WHITE
    for (x, y) in cells:
        pixels[y][x] = SHADOW
    return pixels


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(3))


def question_mark_coverage(u, v):
    """Whether the point (u, v) of the unit square (v downwards) lies on the question mark."""
    cx, cy = 0.5, 0.36
    inner, outer = 0.085, 0.195
    r = math.hypot(u - cx, v - cy)
    angle = math.degrees(math.atan2(cy - v, u - cx))
    on_hook = inner <= r <= outer and (angle >= -90 or angle <= -160)
    on_stem = 0.445 <= u <= 0.555 and cy + inner <= v <= 0.66
    on_dot = math.hypot(u - 0.5, v - 0.79) <= 0.075
    return on_hook or on_stem or on_dot


def help_glyph(size):
    pixels = blank(size)
    n = SUPERSAMPLE
    radius = 0.49
    for y in range(size):
        for x in range(size):
            disc = hits = 0
            for sy in range(n):
                for sx in range(n):
                    u, v = (x + (sx + 0.5) / n) / size, (y + (sy + 0.5) / n) / size
                    if math.hypot(u - 0.5, v - 0.5) <= radius:
                        disc += 1
                    if question_mark_coverage(u, v):
                        hits += 1
            # The disc's edge is hard: a blend with the background would not turn transparent.
            if disc * 2 < n * n:
                continue
            # Four levels between the disc and white keep the colour table small.
            level = round(hits / (n * n) * 4) / 4
            pixels[y][x] = mix(DISC, WHITE, level)
    return pixels


def graph_cursor(size):
    """The graph's tracking cursor (100): a black ring with a cross whose arms stop short of the
    centre, so the point under it stays visible; the hot spot is the centre pixel."""
    pixels = blank(size)
    c = size // 2
    for y in range(size):
        for x in range(size):
            d = math.hypot(x - c, y - c)
            on_cross = (x == c or y == c) and 3 <= d
            if abs(d - 5.5) <= 0.5 or on_cross:
                pixels[y][x] = BLACK
    return pixels


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out = os.path.join(root, "src", "resources", "bitmaps")
    os.makedirs(out, exist_ok=True)
    drawings = {
        "take-value-normal": lambda s: marker(s, BLACK),
        "take-value-pressed": lambda s: marker(s, BLACK, shift=1),
        "take-value-focused": lambda s: marker(s, NAVY),
        "take-value-disabled": embossed_marker,
        "help": help_glyph,
    }
    for name, draw in drawings.items():
        write_bmp(os.path.join(out, name + ".bmp"), draw(16))
        write_bmp(os.path.join(out, name + "-144.bmp"), draw(24))
    write_bmp(os.path.join(out, "marker-min.bmp"), marker(16, MAROON))
    write_bmp(os.path.join(out, "graph-cursor.bmp"), graph_cursor(17))


if __name__ == "__main__":
    main()
