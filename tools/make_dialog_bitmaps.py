#!/usr/bin/env python3
"""Draws the tool-button pictures of the block property dialogs into
resources/dialogs/ (linked into the programs as bitmap resources by
resources/dialogs.rc):

  136.bmp  16 x 16 (resource 136): the add button, a green plus sign

8-bit indexed with the background (pixel (0, 0), magenta) as the colour the
tool buttons leave transparent. Run it again after changing the drawing:
  python3 tools/make_dialog_bitmaps.py
"""
import os

from picture_files import write_indexed_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'dialogs')

PALETTE = [(255, 0, 255), (0, 100, 0), (40, 170, 40)]
BACK, EDGE, PLUS = 0, 1, 2


def plus_sign():
    px = [[BACK] * 16 for _ in range(16)]
    # A plus of two bars 4 pixels thick, outlined in dark green.
    for y in range(2, 14):
        for x in range(6, 10):
            px[y][x] = PLUS
    for y in range(6, 10):
        for x in range(2, 14):
            px[y][x] = PLUS
    outline = []
    for y in range(16):
        for x in range(16):
            if px[y][x] != BACK:
                continue
            near = [(x + dx, y + dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1)]
            if any(0 <= nx < 16 and 0 <= ny < 16 and px[ny][nx] == PLUS for nx, ny in near):
                outline.append((x, y))
    for x, y in outline:
        px[y][x] = EDGE
    return px


def main():
    os.makedirs(OUT, exist_ok=True)
    write_indexed_bmp(os.path.join(OUT, '136.bmp'), plus_sign(), PALETTE)


if __name__ == '__main__':
    main()
