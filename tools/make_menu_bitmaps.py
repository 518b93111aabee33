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

from picture_files import write_indexed_bmp

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


def main():
    os.makedirs(OUT, exist_ok=True)
    write_indexed_bmp(os.path.join(OUT, '119.bmp'), arrow(True), PALETTE)
    write_indexed_bmp(os.path.join(OUT, '121.bmp'), arrow(False), PALETTE)


if __name__ == '__main__':
    main()
