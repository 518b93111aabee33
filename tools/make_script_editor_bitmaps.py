#!/usr/bin/env python3
"""Draws the 16 x 16 pictures of the script editor (pin buttons, language
element tree, examples list) and writes them as 24-bit .bmp files into
resources/script/editor/. Pixel (0, 0) is the transparent colour.
Run it again after changing a drawing:
python3 tools/make_script_editor_bitmaps.py
"""
import os

from picture_files import rgb_bmp_bytes, write_indexed_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'script', 'editor')

COLOURS = {'.': (255, 0, 255), '#': (0, 0, 0), 'g': (30, 160, 40), 'r': (200, 30, 30),
           'b': (40, 80, 200), 'y': (240, 200, 60), 'w': (255, 255, 255), 'd': (150, 110, 20)}


def grid(draw):
    rows = [['.'] * 16 for _ in range(16)]
    draw(rows)
    return [''.join(r) for r in rows]


def plus(rows):
    for i in range(3, 13):
        for j in (7, 8):
            rows[i][j] = 'g'
            rows[j][i] = 'g'


def cross(rows):
    for i in range(3, 13):
        for d in (0, 1):
            if i + d < 13:
                rows[i][i + d] = 'r'
                rows[i][15 - i - d] = 'r'


def arrow(up):
    def draw(rows):
        for k in range(6):
            y = 3 + k if up else 12 - k
            for x in range(7 - k, 9 + k):
                rows[y][x] = 'b'
        for y in (range(9, 14) if up else range(2, 7)):
            for x in (6, 7, 8, 9):
                rows[y][x] = 'b'
    return draw


def folder(open_):
    def draw(rows):
        for x in range(1, 7):
            rows[3][x] = '#'
        for y in range(4, 14):
            for x in range(1, 15):
                edge = y in (4, 13) or x in (1, 14)
                rows[y][x] = '#' if edge else ('w' if open_ and y < 7 else 'y')
    return draw


def page(mark):
    def draw(rows):
        for y in range(1, 15):
            for x in range(3, 13):
                edge = y in (1, 14) or x in (3, 12)
                rows[y][x] = '#' if edge else 'w'
        for y in (4, 7, 10):
            for x in range(5, 11):
                rows[y][x] = mark
    return draw


PICTURES = {
    'add.bmp': plus,
    'delete.bmp': cross,
    'up.bmp': arrow(True),
    'down.bmp': arrow(False),
    'group.bmp': folder(False),
    'group_open.bmp': folder(True),
    'example.bmp': page('b'),
    'element.bmp': page('g'),
}


# The speed buttons make the colour of pixel (0, 0) transparent only in an
# indexed picture: their pictures are written with a palette.
INDEXED = {'add.bmp', 'delete.bmp', 'up.bmp', 'down.bmp'}


def write_indexed(name, rows):
    keys = list(COLOURS)
    write_indexed_bmp(os.path.join(OUT, name), [[keys.index(c) for c in row] for row in rows],
                      [COLOURS[k] for k in keys], important=0)


def write(name, rows):
    if name in INDEXED:
        write_indexed(name, rows)
        return
    with open(os.path.join(OUT, name), 'wb') as f:
        f.write(rgb_bmp_bytes([[COLOURS[c] for c in row] for row in rows]))

def main():
    os.makedirs(OUT, exist_ok=True)
    for name, draw in PICTURES.items():
        write(name, grid(draw))


if __name__ == '__main__':
    main()
