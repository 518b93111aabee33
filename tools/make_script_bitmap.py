#!/usr/bin/env python3
"""Draws the picture of the script block (18 x 22 pixels: a page with a
folded corner and the letters JS) and writes it as a 24-bit .bmp into
resources/script/. Run it again after changing the drawing:
python3 tools/make_script_bitmap.py
"""
import os

from picture_files import rgb_bmp_bytes

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'script', 'script_block.bmp')

# '.' white, '#' black outline, 'y' yellow page, 'k' black letters,
# 'g' grey fold.
ROWS = [
    '..############....',
    '..#yyyyyyyyyy##...',
    '..#yyyyyyyyyy#g#..',
    '..#yyyyyyyyyy#gg#.',
    '..#yyyyyyyyyy#####',
    '..#yyyyyyyyyyyyyy#',
    '..#yyyyyyyyyyyyyy#',
    '..#yyyyyyyyyyyyyy#',
    '..#yyyyyyyyyyyyyy#',
    '..#yyyykkyykkkkyy#',
    '..#yyyykkykkyyyyy#',
    '..#yyyykkykkyyyyy#',
    '..#yyyykkyykkkyyy#',
    '..#yyyykkyyyykkyy#',
    '..#ykkykkyyyykkyy#',
    '..#ykkykkykkkkyyy#',
    '..#yykkkyyyyyyyyy#',
    '..#yyyyyyyyyyyyyy#',
    '..#yyyyyyyyyyyyyy#',
    '..#yyyyyyyyyyyyyy#',
    '..################',
    '..................',
]
COLOURS = {'.': (255, 255, 255), '#': (0, 0, 0), 'y': (240, 219, 79), 'k': (0, 0, 0), 'g': (160, 160, 160)}


def main():
    width, height = len(ROWS[0]), len(ROWS)
    assert all(len(r) == width for r in ROWS) and (width, height) == (18, 22)
    os.makedirs(os.path.dirname(OUT), exist_ok=True)
    with open(OUT, 'wb') as f:
        f.write(rgb_bmp_bytes([[COLOURS[c] for c in row] for row in ROWS]))


if __name__ == '__main__':
    main()
