#!/usr/bin/env python3
"""Draws the pictures of the board view's popup menu items "Повернуть влево"
(119) and "Повернуть право" (121): a three-quarter circle with an arrow head,
turning left or right, as 13 x 13 8-bit BMP files (the size of a menu check
mark) into resources/velkboard/menu/.

Run it again after changing a picture:
  python3 tools/make_menu_bitmaps.py
"""
import math
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'velkboard', 'menu')
SIZE = 13
PALETTE = [(255, 255, 255), (0, 0, 0)]
WHITE, BLACK = 0, 1


def arrow(left):
    px = [[WHITE] * SIZE for _ in range(SIZE)]
    cx = cy = 6
    r = 4.3
    # The arc leaves a gap at the top; the head sits at its end.
    for step in range(0, 271, 3):
        a = math.radians(step + 135 if left else 45 - step)
        x = round(cx + r * math.cos(a))
        y = round(cy - r * math.sin(a))
        px[y][x] = BLACK
    end = math.radians(135 + 270 if left else 45 - 270)
    hx = round(cx + r * math.cos(end))
    hy = round(cy - r * math.sin(end))
    # The arc ends moving upwards: the head points up.
    for i in range(3):
        for j in range(-i, i + 1):
            x, y = hx + j, hy - 2 + i
            if 0 <= x < SIZE and 0 <= y < SIZE:
                px[y][x] = BLACK
    return px


def write_bmp(path, px):
    stride = (SIZE + 3) // 4 * 4
    rows = b''.join(bytes(px[y]) + b'\0' * (stride - SIZE) for y in range(SIZE - 1, -1, -1))
    colours = len(PALETTE)
    header_size = 14 + 40 + 4 * colours
    file_header = struct.pack('<2sIHHI', b'BM', header_size + len(rows), 0, 0, header_size)
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE, 1, 8, 0, len(rows), 2835, 2835, colours, colours)
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    with open(path, 'wb') as f:
        f.write(file_header + info + table + rows)


def main():
    os.makedirs(OUT, exist_ok=True)
    write_bmp(os.path.join(OUT, '119.bmp'), arrow(True))
    write_bmp(os.path.join(OUT, '121.bmp'), arrow(False))


if __name__ == '__main__':
    main()
