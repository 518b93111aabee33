#!/usr/bin/env python3
"""Draws modelpicker's program icon and writes resources/modelpicker.ico.

A table card (a grey header row, white rows, one chosen row in blue) with a
green check mark, in 32 x 32 and 16 x 16, 32 bits a pixel with alpha. Plain
Python, deterministic output:  python3 tools/make_modelpicker_icon.py
"""
import os
import struct

from picture_files import write_icon

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'modelpicker.ico')

CLEAR = (0, 0, 0, 0)
FRAME = (60, 60, 60, 255)
HEADER = (102, 102, 102, 255)
ROW = (255, 255, 255, 255)
LINE = (200, 200, 200, 255)
CHOSEN = (40, 100, 200, 255)
CHECK = (30, 150, 50, 255)
CHECK_EDGE = (255, 255, 255, 255)


def draw(size):
    s = size / 32.0
    px = [[CLEAR] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(int(round(y0 * s)), int(round(y1 * s))):
            for x in range(int(round(x0 * s)), int(round(x1 * s))):
                if 0 <= x < size and 0 <= y < size:
                    px[y][x] = colour

    # The card and its rows.
    rect(2, 3, 28, 29, FRAME)
    rect(3, 4, 27, 28, ROW)
    rect(3, 4, 27, 9, HEADER)
    for top in (13, 18, 23):
        rect(3, top, 27, top + 1, LINE)
    rect(3, 14, 27, 18, CHOSEN)
    rect(10, 4, 11, 28, LINE if size >= 32 else ROW)
    rect(10, 4, 11, 9, HEADER)
    rect(10, 14, 11, 18, CHOSEN)

    # A check mark over the lower right corner: a white edge, then green.
    def check(width, colour):
        points = []
        for i in range(7):  # the short stroke, down and right
            points.append((18 + i, 21 + i))
        for i in range(12):  # the long stroke, up and right
            points.append((24 + i * 0.6, 27 - i))
        for (cx, cy) in points:
            rect(cx - width, cy - width, cx + width, cy + width, colour)

    check(2.2, CHECK_EDGE)
    check(1.3, CHECK)
    return px


def icon_image(size):
    px = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    xor = bytearray()
    for y in range(size - 1, -1, -1):  # bottom-up rows
        for (r, g, b, a) in px[y]:
            xor += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(px[y]):
            if a == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return header + bytes(xor) + bytes(mask)


def main():
    sizes = [32, 16]
    images = [icon_image(n) for n in sizes]
    write_icon(OUT, sizes, images)
    print('wrote', os.path.normpath(OUT))


if __name__ == '__main__':
    main()
