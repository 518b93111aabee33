#!/usr/bin/env python3
"""Draws the pictures of the ultrasonic range finders: the class picture the
four finders share beside their pin leads ("distsensor.png", 44 x 84, into
data/schemeIcons) and the pictures of the sample rows of the "distance"
table into data/VelkDB/images.

Each picture is drawn into an RGB picture of tools/picture_files.py and
written as a PNG. Run it again after changing a drawing.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from picture_files import RgbPicture, write_png  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ICONS = os.path.join(HERE, "..", "data", "schemeIcons")
IMAGES = os.path.join(HERE, "..", "data", "VelkDB", "images")

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
BOARD = (30, 110, 60)
CAN = (200, 200, 205)
MESH = (90, 90, 95)
WAVE = (60, 120, 200)


def transducer(p, cx, cy, r):
    """One ultrasonic transducer seen from the front: the metal can and
    its dark mesh."""
    p.circle(cx, cy, r, BLACK, fill=CAN)
    p.circle(cx, cy, r - 3, BLACK, fill=MESH)
    for k in range(-r + 5, r - 4, 3):
        p.fill(cx - 1, cy + k, cx + 1, cy + k, CAN)


def symbol(path, width=44, height=84, board=BOARD):
    """The class picture: the board seen from the front with its two
    transducers one above the other, the sound leaving to the right."""
    p = RgbPicture(width, height, WHITE)
    p.box(0, 0, 27, height - 1, BLACK, fill=board)
    transducer(p, 14, 21, 11)
    transducer(p, 14, 62, 11)
    # Sound waves off the transmitter.
    for r in (6, 10, 14):
        for dy in range(-r // 2, r // 2 + 1):
            p.dot(29 + r - abs(dy) // 2, 21 + dy, WAVE)
    # The header of the pins down the left edge.
    for y in range(6, height - 4, 11):
        p.fill(0, y, 3, y + 2, (220, 190, 70))
    write_png(path, p.px)


def module(path, width=160, height=83, board=BOARD):
    """A row picture: the module seen from the front, its two transducers
    side by side."""
    p = RgbPicture(width, height, WHITE)
    p.box(6, 8, width - 7, height - 9, BLACK, fill=board)
    transducer(p, 45, 41, 24)
    transducer(p, width - 46, 41, 24)
    p.box(72, 12, 88, 22, BLACK, fill=(40, 40, 40))
    for x in range(70, 92, 5):
        p.fill(x, height - 9, x + 2, height - 2, (220, 190, 70))
    write_png(path, p.px)


def main():
    os.makedirs(ICONS, exist_ok=True)
    os.makedirs(IMAGES, exist_ok=True)
    symbol(os.path.join(ICONS, "distsensor.png"))
    module(os.path.join(IMAGES, "urm37.png"), board=(30, 60, 140))
    module(os.path.join(IMAGES, "urm04.png"), board=(20, 20, 25))
    module(os.path.join(IMAGES, "srf05.png"))
    module(os.path.join(IMAGES, "sen136b5b.png"), board=(150, 40, 40))


if __name__ == "__main__":
    main()
