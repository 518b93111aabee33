#!/usr/bin/env python3
"""Draws the pictures of the shaft sensors: the scheme symbols of the encoder
("encoder.png") and of the potentiometric angle sensor
("potentiometric.png") and of the inertial measurement unit ("inertial.png")
into data/schemeIcons, and the pictures of the sample
rows of the sensor tables (encoders, potentiometers, limit switches,
navigation receivers, inertial units) into
data/VelkDB/images. The limit switch draws its own symbol.

Each picture is drawn into an RGB picture of tools/picture_files.py and
written as a PNG. Run it again after changing a drawing.
"""
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from picture_files import RgbPicture, write_png  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
ICONS = os.path.join(HERE, "..", "data", "schemeIcons")
IMAGES = os.path.join(HERE, "..", "data", "VelkDB", "images")

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
SHAFT = (200, 200, 205)
DISC = (225, 190, 90)
BODY = (70, 75, 85)
WINDING = (150, 90, 40)
KNOB = (60, 120, 200)


def encoder(path, width=114, height=55, body=BODY, disc=DISC):
    """The encoder: the shaft from the left edge, the slotted code disc on
    it, the housing, and the black bar down the right edge where the pins
    (all on the right) meet the symbol."""
    p = RgbPicture(width, height, WHITE)
    mid = height // 2
    p.fill(0, mid - 2, 34, mid + 2, SHAFT)
    p.box(0, mid - 2, 34, mid + 2, BLACK)
    p.circle(34, mid, 22, BLACK, fill=disc)
    for k in range(12):
        # Slots around the rim.
        a = 2 * math.pi * k / 12
        for r in range(15, 21):
            p.dot(round(34 + r * math.cos(a)), round(mid + r * math.sin(a)), BLACK)
    p.circle(34, mid, 4, BLACK, fill=SHAFT)
    p.box(60, 6, 104, height - 7, BLACK, fill=body)
    p.box(64, 10, 78, 20, (230, 60, 50), fill=(230, 60, 50))  # the light source
    p.fill(79, 14, 100, 16, (240, 220, 120))                     # its beam
    p.fill(104, mid - 1, width - 3, mid + 1, BLACK)
    p.fill(width - 2, 0, width - 1, height - 1, BLACK)
    write_png(path, p.px)


def potentiometer(path, width=107, height=55, knob=KNOB):
    """The potentiometer: the knob with its pointer on the left, the winding
    drawn upright with its ends led to the pins 8 and 50 px down the right
    edge, and the wiper arrow from the pin 27 px down."""
    p = RgbPicture(width, height, WHITE)
    p.circle(22, 27, 18, BLACK, fill=knob)
    p.line(22, 27, 22, 11, WHITE, 2)
    p.circle(22, 27, 3, BLACK, fill=WHITE)
    p.fill(41, 26, 60, 28, SHAFT)
    # The winding.
    p.box(62, 14, 74, 44, BLACK, fill=WINDING)
    p.fill(67, 8, 69, 14, BLACK)
    p.fill(67, 44, 69, 50, BLACK)
    p.fill(67, 7, width - 1, 8, BLACK)
    p.fill(67, 50, width - 1, 51, BLACK)
    # The wiper: a lead from the pin and an arrow onto the winding.
    p.fill(80, 26, width - 1, 27, BLACK)
    for i in range(6):
        p.fill(75 + i, 26 - (5 - i), 75 + i, 27 + (5 - i), BLACK)
    write_png(path, p.px)


def limit_switch(path, width=96, height=72, lever=(210, 210, 215)):
    """A limit switch of the sample rows: the case, the lever with its roller
    and the three terminals."""
    p = RgbPicture(width, height, WHITE)
    p.box(16, 24, 80, 64, BLACK, fill=(40, 40, 45))
    p.line(24, 24, 70, 6, BLACK, 3)
    p.line(24, 22, 70, 4, lever, 1)
    p.circle(72, 6, 5, BLACK, fill=lever)
    for x in (28, 46, 64):
        p.fill(x, 64, x + 4, 71, (200, 170, 60))
    write_png(path, p.px)


def inertial(path, size=140, board=(30, 110, 60)):
    """The inertial unit: a green board with mounting holes, the sensor chip
    in the middle and its three axes (X red to the right, Y green up, Z
    blue out of the board as a ring with a dot); the pins' lines start at
    its right edge."""
    p = RgbPicture(size, size, WHITE)
    p.box(4, 4, size - 4, size - 4, BLACK, fill=board)
    for cx, cy in ((14, 14), (size - 15, 14), (14, size - 15), (size - 15, size - 15)):
        p.circle(cx, cy, 5, BLACK, fill=(220, 200, 120))
        p.circle(cx, cy, 2, BLACK, fill=WHITE)
    mid = size // 2
    p.box(mid - 22, mid - 22, mid + 22, mid + 22, BLACK, fill=(35, 35, 40))
    for k in range(6):
        y = mid - 17 + 7 * k
        p.fill(mid - 27, y, mid - 22, y + 3, (200, 200, 205))
        p.fill(mid + 22, y, mid + 27, y + 3, (200, 200, 205))
    p.circle(mid - 14, mid - 14, 3, (120, 120, 120))
    red, green, blue = (220, 40, 40), (60, 220, 80), (70, 130, 240)
    p.line(mid, mid, mid + 45, mid, red, 3)
    p.line(mid + 45, mid, mid + 38, mid - 6, red, 2)
    p.line(mid + 45, mid, mid + 38, mid + 6, red, 2)
    p.line(mid, mid, mid, mid - 45, green, 3)
    p.line(mid, mid - 45, mid - 6, mid - 38, green, 2)
    p.line(mid, mid - 45, mid + 6, mid - 38, green, 2)
    p.circle(mid, mid, 7, blue)
    p.circle(mid, mid, 2, blue, fill=blue)
    p.fill(size - 4, 4, size, size - 4, BLACK)
    write_png(path, p.px)


def nav_module(path, width=160, height=83, board=(20, 60, 130), usb=False):
    """A navigation receiver module of a sample row: a board with the
    receiver can, its patch antenna (or a USB plug) and a pin header."""
    p = RgbPicture(width, height, WHITE)
    p.box(6, 6, width - 6, height - 6, BLACK, fill=board)
    p.box(16, 16, 66, height - 16, BLACK, fill=(200, 200, 205))
    if usb:
        p.box(width - 40, height // 2 - 10, width - 2, height // 2 + 10, BLACK, fill=(190, 190, 195))
    else:
        p.box(80, 14, width - 18, height - 14, BLACK, fill=(210, 180, 120))
        p.circle((80 + width - 18) // 2, height // 2, 8, BLACK, fill=(230, 230, 230))
    for k in range(6):
        p.fill(12 + 9 * k, height - 12, 17 + 9 * k, height - 7, (230, 200, 80))
    write_png(path, p.px)


def main():
    os.makedirs(ICONS, exist_ok=True)
    os.makedirs(IMAGES, exist_ok=True)
    encoder(os.path.join(ICONS, "encoder.png"))
    potentiometer(os.path.join(ICONS, "potentiometric.png"))
    inertial(os.path.join(ICONS, "inertial.png"))

    encoder(os.path.join(IMAGES, "e6b2.png"), 171, 83)
    encoder(os.path.join(IMAGES, "ec11.png"), 171, 83, body=(40, 40, 40), disc=(190, 190, 200))
    encoder(os.path.join(IMAGES, "ace128.png"), 171, 83, body=(30, 70, 140))
    potentiometer(os.path.join(IMAGES, "wdd35.png"), 160, 83)
    potentiometer(os.path.join(IMAGES, "rv24.png"), 160, 83, knob=(200, 60, 50))
    limit_switch(os.path.join(IMAGES, "kv12.png"))
    nav_module(os.path.join(IMAGES, "nv08c.png"))
    nav_module(os.path.join(IMAGES, "gnssusb.png"), board=(40, 40, 45), usb=True)
    inertial(os.path.join(IMAGES, "imu9u.png"))
    inertial(os.path.join(IMAGES, "imu6a.png"), board=(120, 30, 40))
    limit_switch(os.path.join(IMAGES, "d2f.png"), lever=(230, 200, 80))


if __name__ == "__main__":
    main()
