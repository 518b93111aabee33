#!/usr/bin/env python3
"""Draws the class pictures of the devices the programmable units carry:
the hard drive ("hd.jpg", 92 x 132), the microphone ("mic.png", 91 x 91)
and the camera ("camera.png", 96 x 100) into data/schemeIcons.

Run it again after changing a drawing.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from picture_files import RgbPicture, write_jpeg, write_png  # noqa: E402

ICONS = os.path.join(HERE, "..", "data", "schemeIcons")

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
GREY = (150, 150, 150)
LIGHT = (205, 205, 210)
DARK = (60, 60, 70)
GREEN = (40, 120, 60)
RED = (200, 40, 40)
YELLOW = (230, 200, 40)


def hard_drive():
    p = RgbPicture(92, 132, WHITE)
    # The case, seen from above, with its connectors along the top.
    p.box(4, 16, 87, 127, DARK, fill=LIGHT)
    p.fill(6, 0, 16, 15, DARK)             # data connector
    p.fill(37, 4, 43, 15, RED)             # +5 V
    p.fill(52, 4, 58, 15, BLACK)           # ground
    p.fill(67, 4, 73, 15, BLACK)           # ground
    p.fill(82, 4, 88, 15, YELLOW)          # +12 V
    # The platter and the head.
    p.circle(45, 66, 30, DARK, fill=GREY)
    p.circle(45, 66, 6, DARK, fill=LIGHT)
    p.line(75, 110, 52, 74, DARK, w=3)
    p.fill(72, 106, 80, 116, DARK)
    # The label.
    p.fill(14, 100, 40, 118, GREEN)
    return p


def microphone():
    p = RgbPicture(91, 91, WHITE)
    # A capsule on a stand, the lead to the two outputs on the left.
    p.fill(33, 6, 57, 46, DARK)
    for y in range(9, 44, 4):
        p.line(36, y, 54, y, GREY)
    p.circle(45, 46, 16, DARK)
    p.fill(43, 62, 47, 78, DARK)
    p.fill(30, 78, 60, 82, DARK)
    p.line(0, 70, 30, 70, BLACK)
    p.line(0, 87, 30, 87, BLACK)
    p.line(30, 70, 30, 87, BLACK)
    return p


def camera():
    p = RgbPicture(96, 100, WHITE)
    # A dome camera: the base plate, the dome and the lens.
    p.fill(10, 10, 86, 22, DARK)
    p.circle(48, 22, 36, DARK, fill=LIGHT)
    p.fill(10, 0, 86, 21, WHITE)
    p.fill(10, 14, 86, 22, DARK)
    p.circle(48, 40, 14, BLACK, fill=DARK)
    p.circle(48, 40, 7, GREY, fill=(40, 60, 120))
    p.dot(45, 37, WHITE)
    p.fill(70, 30, 73, 33, RED)
    p.text(20, 75, "CAM", BLACK)
    return p


def main():
    os.makedirs(ICONS, exist_ok=True)
    write_jpeg(os.path.join(ICONS, "hd.jpg"), hard_drive().px)
    write_png(os.path.join(ICONS, "mic.png"), microphone().px)
    write_png(os.path.join(ICONS, "camera.png"), camera().px)


if __name__ == "__main__":
    main()
