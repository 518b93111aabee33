#!/usr/bin/env python3
"""Draws the palette pictures of the block-diagram editor's "Математика" group
and writes them as 45 x 45 8-bit indexed BMP files into data/schemeIcons/,
under the file names the common catalogue groups give. Pixel (0, 0) is the
background, which the speed buttons draw transparent. Each picture is a
small block body in the group's colour with the operation drawn on it.

Run it again after changing a picture:
  python3 tools/make_block_palette_pictures.py
"""
import os

from picture_files import IndexedPicture, write_indexed_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'data', 'schemeIcons')
SIZE = 45

PALETTE = [
    (255, 0, 255),    # 0 background (transparent)
    (0, 0, 0),        # 1 black
    (255, 255, 51),   # 2 arithmetic body (0x33FFFF)
    (255, 255, 153),  # 3 scaling body (0x99FFFF)
    (90, 90, 90),     # 4 grey pins
]
BG, BLACK, ARITH, SCALE, GREY = range(5)

# A 5 x 7 pixel font for the few characters the pictures use.
GLYPHS = {
    'A': ['01110', '10001', '10001', '11111', '10001', '10001', '10001'],
    'B': ['11110', '10001', '10001', '11110', '10001', '10001', '11110'],
    'C': ['01111', '10000', '10000', '10000', '10000', '10000', '01111'],
    'K': ['10001', '10010', '10100', '11000', '10100', '10010', '10001'],
    'x': ['00000', '00000', '10001', '01010', '00100', '01010', '10001'],
    '1': ['00100', '01100', '00100', '00100', '00100', '00100', '01110'],
    '-': ['00000', '00000', '00000', '11111', '00000', '00000', '00000'],
    '+': ['00000', '00100', '00100', '11111', '00100', '00100', '00000'],
    '|': ['00100', '00100', '00100', '00100', '00100', '00100', '00100'],
    '/': ['00001', '00010', '00010', '00100', '01000', '01000', '10000'],
}


def text(p, s, x, y, scale, c=BLACK):
    """Draws s with its top-left corner at (x, y), scale pixels a font dot."""
    for ch in s:
        rows = GLYPHS[ch]
        for gy, row in enumerate(rows):
            for gx, bit in enumerate(row):
                if bit == '1':
                    for dy in range(scale):
                        for dx in range(scale):
                            p.dot(x + gx * scale + dx, y + gy * scale + dy, c)
        x += 6 * scale


def text_width(s, scale):
    return len(s) * 6 * scale - scale


def body(p, fill, inputs=1):
    """A block body with its input pins on the left and one output."""
    p.box(6, 8, 38, 36, BLACK, fill)
    ys = [22] if inputs == 1 else [16, 28]
    for y in ys:
        p.line(1, y, 5, y, GREY)
    p.line(39, 22, 43, 22, GREY)


def centred(p, s, scale):
    w = text_width(s, scale)
    text(p, s, 22 - w // 2, 22 - (7 * scale) // 2, scale)


def draw(name):
    p = IndexedPicture(SIZE, BG)
    if name == 'neg.bmp':
        body(p, ARITH)
        centred(p, '-1', 2)
    elif name == 'add.bmp':
        body(p, ARITH)
        centred(p, '+C', 2)
    elif name == 'sum.bmp':
        body(p, ARITH, 2)
        # A capital sigma.
        p.line(14, 13, 29, 13, BLACK, 2)
        p.line(14, 13, 22, 22, BLACK, 2)
        p.line(22, 22, 14, 31, BLACK, 2)
        p.line(14, 31, 29, 31, BLACK, 2)
    elif name == 'sub.bmp':
        body(p, ARITH)
        centred(p, '-C', 2)
    elif name == 'sub2.bmp':
        body(p, ARITH, 2)
        centred(p, 'A-B', 1)
    elif name == 'K.bmp':
        body(p, SCALE)
        centred(p, 'K', 3)
    elif name == 'mul2.bmp':
        body(p, ARITH, 2)
        p.line(15, 15, 29, 29, BLACK, 3)
        p.line(29, 15, 15, 29, BLACK, 3)
    elif name == 'div2.bmp':
        body(p, ARITH, 2)
        p.line(13, 22, 31, 22, BLACK, 2)
        p.box(21, 14, 23, 16, BLACK, BLACK)
        p.box(21, 28, 23, 30, BLACK, BLACK)
    elif name == 'constdivider.bmp':
        body(p, SCALE)
        centred(p, 'C/x', 1)
    elif name == 'abs.bmp':
        body(p, ARITH)
        centred(p, '|x|', 2)
    else:
        raise ValueError(name)
    return p


NAMES = ('neg.bmp', 'add.bmp', 'sum.bmp', 'sub.bmp', 'sub2.bmp', 'K.bmp', 'mul2.bmp', 'div2.bmp',
         'constdivider.bmp', 'abs.bmp')


def main():
    os.makedirs(OUT, exist_ok=True)
    for name in NAMES:
        write_indexed_bmp(os.path.join(OUT, name), draw(name).px, PALETTE)


if __name__ == '__main__':
    main()
