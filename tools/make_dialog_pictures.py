#!/usr/bin/env python3
"""Draws the pictures of the block property dialogs into
resources/dialogs/ (linked into the programs as bitmap resources by
resources/dialogs.rc):

  twi_formula.bmp  210 x 38 (resource 165): the TWI's bit rate,
                   f SCL = f CPU / (16 + 2 x TWBR x 4 to the power TWPS),
                   as a fraction

Run it again after changing the drawing:
  python3 tools/make_dialog_pictures.py
"""
import os

from picture_files import RgbPicture, rgb_bmp_bytes, text_width

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'dialogs')

FACE = (236, 233, 216)
INK = (0, 0, 0)


def label_with_index(p, x, y, base, index):
    """A letter with a lowered index ("f" with "SCL"); answers the width."""
    p.text(x, y, base, INK)
    x2 = x + text_width(base) + 1
    p.text(x2, y + 4, index, INK)
    return x2 + text_width(index) - x


def twi_formula():
    p = RgbPicture(210, 38, FACE)
    # Left side, level with the fraction bar.
    x = 4
    x += label_with_index(p, x, 12, 'f', 'SCL') + 4
    p.text(x, 15, '=', INK)
    x += text_width('=') + 5
    # Denominator: 16+2×TWBR×4, the power TWPS raised after it.
    below = '16+2×TWBR×4'
    power = 'TWPS'
    width = text_width(below) + 1 + text_width(power)
    bar_left, bar_right = x, x + width
    p.fill(bar_left, 18, bar_right, 18, INK)
    top_width = text_width('f') + 1 + text_width('CPU')
    label_with_index(p, bar_left + (width - top_width) // 2, 5, 'f', 'CPU')
    p.text(bar_left, 26, below, INK)
    p.text(bar_left + text_width(below) + 1, 21, power, INK)
    return p


def main():
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, 'twi_formula.bmp'), 'wb') as f:
        f.write(rgb_bmp_bytes(twi_formula().px))


if __name__ == '__main__':
    main()
