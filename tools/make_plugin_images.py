#!/usr/bin/env python3
"""Draws the two 16 x 16 pictures of the plug-in chooser ("Создать plugin")
and writes them as 24-bit BMP files into resources/velkboard/:

  plugin_module.bmp  a plug-in module: a grey chip package with pins
  plugin_kind.bmp    a block kind: a pink block with an input and an output

The pixel (0, 0) is the background, which the image list makes transparent.
Run it again after changing a picture:  python3 tools/make_plugin_images.py
"""
import os

from picture_files import rgb_bmp_bytes

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'velkboard')
SIZE = 16
BACK = (0, 128, 128)


def canvas():
    return [[BACK] * SIZE for _ in range(SIZE)]


def fill(rows, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            rows[y][x] = colour


def module_picture():
    rows = canvas()
    pin = (160, 160, 160)
    for y in range(3, 13, 2):
        fill(rows, 1, y, 3, y, pin)
        fill(rows, 12, y, 14, y, pin)
    fill(rows, 4, 1, 11, 14, (40, 40, 48))
    fill(rows, 5, 2, 10, 13, (88, 96, 112))
    fill(rows, 5, 2, 6, 3, (230, 230, 230))  # the notch mark
    return rows


def kind_picture():
    rows = canvas()
    fill(rows, 3, 2, 12, 13, (0, 0, 0))
    fill(rows, 4, 3, 11, 12, (255, 204, 255))
    fill(rows, 0, 7, 2, 8, (0, 0, 160))
    fill(rows, 13, 7, 15, 8, (160, 0, 0))
    fill(rows, 6, 6, 9, 9, (128, 0, 128))
    return rows


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, rows in (('plugin_module.bmp', module_picture()), ('plugin_kind.bmp', kind_picture())):
        with open(os.path.join(OUT, name), 'wb') as f:
            f.write(rgb_bmp_bytes(rows))


if __name__ == '__main__':
    main()
