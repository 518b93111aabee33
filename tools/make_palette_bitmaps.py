#!/usr/bin/env python3
"""Draws the pictures of the scheme editor's palette buttons and writes them
as 32 x 32 8-bit indexed BMP files into resources/velkboard/palette/, one per
command id (the button's id is its bitmap resource number). Pixel (0, 0) is
the background, which the speed buttons draw transparent.

Run it again after changing a picture:
  python3 tools/make_palette_bitmaps.py
"""
import math
import os

from picture_files import IndexedPicture, write_indexed_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'velkboard', 'palette')
SIZE = 32

# Colour table: index -> RGB.
PALETTE = [
    (255, 0, 255),    # 0 background (transparent)
    (0, 0, 0),        # 1 black
    (255, 255, 255),  # 2 white
    (0, 150, 0),      # 3 green
    (200, 30, 30),    # 4 red
    (40, 80, 200),    # 5 blue
    (120, 120, 120),  # 6 grey
    (230, 180, 40),   # 7 gold
    (70, 70, 80),     # 8 dark chip
    (200, 200, 210),  # 9 light grey
]
BG, BLACK, WHITE, GREEN, RED, BLUE, GREY, GOLD, CHIP, LIGHT = range(10)


def chip(p, pins=3, body=CHIP):
    p.box(9, 6, 22, 25, BLACK, body)
    for i in range(pins):
        y = 9 + i * (14 // max(pins - 1, 1))
        p.line(4, y, 8, y, GREY)
        p.line(23, y, 27, y, GREY)


def magnifier(p, plus):
    p.circle(13, 13, 8, BLACK, WHITE)
    p.line(19, 19, 27, 27, BLACK, 3)
    p.line(9, 13, 17, 13, BLACK, 2)
    if plus:
        p.line(13, 9, 13, 17, BLACK, 2)


def draw(cid):
    p = IndexedPicture(SIZE, BG)
    if cid == 109:  # cursor arrow
        for y in range(4, 24):
            for x in range(8, 8 + (y - 4) * 2 // 3 + 1):
                p.dot(x, y, WHITE)
        p.line(8, 4, 8, 24, BLACK)
        p.line(8, 4, 21, 17, BLACK)
        p.line(8, 24, 13, 19, BLACK)
        p.line(14, 19, 19, 28, BLACK, 2)
        p.line(21, 17, 15, 18, BLACK)
    elif cid in (103, 104):  # cables of two and three cores
        cores = 2 if cid == 103 else 3
        for k in range(cores):
            y = 10 + k * 6
            p.line(3, y, 28, y, BLACK)
        p.box(12, 7, 19, 12 + 6 * (cores - 1) + 3, BLACK, LIGHT)
    elif cid == 108:  # bus
        p.line(4, 16, 27, 16, BLACK, 4)
        p.line(5, 8, 5, 24, BLACK, 2)
        p.line(26, 8, 26, 24, BLACK, 2)
    elif cid == 110:  # delete
        p.line(7, 7, 24, 24, RED, 4)
        p.line(24, 7, 7, 24, RED, 4)
    elif cid == 113:  # T hose joint
        p.line(3, 12, 28, 12, GREEN, 5)
        p.line(16, 12, 16, 28, GREEN, 5)
    elif cid == 114:  # five-way hose block
        p.box(6, 13, 25, 21, BLACK, GREEN)
        p.line(2, 17, 6, 17, GREEN, 3)
        p.line(25, 17, 29, 17, GREEN, 3)
        for x in (10, 16, 22):
            p.line(x, 5, x, 13, GREEN, 3)
    elif cid == 115:  # connector
        p.box(8, 4, 23, 27, BLACK, LIGHT)
        for y in range(7, 26, 4):
            p.box(12, y, 14, y + 2, BLACK, GOLD)
            p.box(17, y, 19, y + 2, BLACK, GOLD)
    elif cid == 122:  # microcontroller
        chip(p, 4)
        p.circle(13, 10, 1, WHITE)
    elif cid == 123:  # ground
        p.line(16, 4, 16, 16, BLACK, 2)
        p.line(6, 16, 26, 16, BLACK, 2)
        p.line(10, 21, 22, 21, BLACK, 2)
        p.line(14, 26, 18, 26, BLACK, 2)
    elif cid in (124, 125):  # zoom out, zoom in
        magnifier(p, cid == 125)
    elif cid == 126:  # power drivers
        chip(p, 3)
        p.line(12, 20, 19, 11, GOLD, 2)
        p.line(19, 11, 15, 12, GOLD, 2)
    elif cid == 127:  # DC-DC converter
        p.box(4, 6, 27, 25, BLACK, LIGHT)
        p.line(7, 12, 14, 12, BLACK)
        p.line(7, 15, 14, 15, BLACK)
        p.line(17, 12, 24, 12, BLACK)
        p.line(17, 15, 24, 15, BLACK)
        p.line(8, 22, 24, 9, BLACK)
    elif cid == 131:  # USB-COM cable
        p.box(3, 12, 10, 20, BLACK, GREY)
        p.line(10, 16, 20, 16, BLACK, 2)
        p.box(20, 10, 28, 22, BLACK, BLUE)
    elif cid == 135:  # multimeter
        p.box(7, 3, 24, 28, BLACK, GOLD)
        p.box(10, 6, 21, 13, BLACK, WHITE)
        p.circle(15, 21, 4, BLACK, LIGHT)
        p.line(15, 21, 18, 18, BLACK)
    elif cid == 139:  # RS-232 drivers
        chip(p, 3)
        p.line(11, 16, 13, 12, WHITE)
        p.line(13, 12, 16, 20, WHITE)
        p.line(16, 20, 18, 12, WHITE)
        p.line(18, 12, 20, 16, WHITE)
    elif cid == 153:  # control panel
        p.box(3, 8, 28, 25, BLACK, LIGHT)
        p.box(6, 11, 14, 17, BLACK, BLUE)
        p.circle(21, 14, 3, BLACK, RED)
        p.box(6, 20, 25, 22, BLACK, GREEN)
    elif cid == 154:  # RF power injector
        p.line(16, 4, 16, 26, BLACK, 2)
        p.line(8, 4, 16, 12, BLACK)
        p.line(24, 4, 16, 12, BLACK)
        p.line(6, 26, 26, 26, BLACK, 2)
        p.line(22, 16, 19, 21, GOLD, 2)
    elif cid == 155:  # PoE injector
        p.box(4, 10, 16, 22, BLACK, LIGHT)
        p.line(7, 18, 13, 18, BLACK)
        p.line(16, 16, 24, 16, BLACK, 2)
        p.line(24, 8, 20, 16, GOLD, 2)
        p.line(20, 16, 27, 16, GOLD, 2)
        p.line(27, 16, 23, 24, GOLD, 2)
    elif cid == 158:  # power supplies
        p.box(4, 6, 27, 25, BLACK, GREY)
        p.line(9, 15, 15, 15, RED, 2)
        p.line(12, 12, 12, 18, RED, 2)
        p.line(18, 15, 24, 15, BLUE, 2)
    elif cid == 159:  # network equipment
        p.box(4, 16, 27, 25, BLACK, BLUE)
        p.line(8, 16, 6, 4, BLACK, 2)
        p.line(23, 16, 25, 4, BLACK, 2)
        for x in (9, 14, 19):
            p.dot(x, 21, GREEN)
            p.dot(x + 1, 21, GREEN)
    elif cid == 160:  # batteries
        p.box(4, 9, 25, 23, BLACK, GREEN)
        p.box(25, 13, 28, 19, BLACK, GREY)
        p.line(8, 16, 12, 16, WHITE, 2)
        p.line(17, 16, 21, 16, WHITE, 2)
        p.line(19, 14, 19, 18, WHITE, 2)
    elif cid == 164:  # standard logic: an AND gate
        p.line(8, 6, 8, 26, BLACK, 2)
        p.line(8, 6, 16, 6, BLACK, 2)
        p.line(8, 26, 16, 26, BLACK, 2)
        for a in range(-90, 91, 3):
            r = math.radians(a)
            p.dot(round(16 + 10 * math.cos(r)), round(16 + 10 * math.sin(r)), BLACK)
            p.dot(round(16 + 9 * math.cos(r)), round(16 + 9 * math.sin(r)), BLACK)
        p.line(2, 11, 8, 11, BLACK)
        p.line(2, 21, 8, 21, BLACK)
        p.line(26, 16, 30, 16, BLACK)
    elif cid == 166:  # discrete parts: a resistor and a capacitor
        p.line(2, 9, 8, 9, BLACK)
        p.box(8, 6, 22, 12, BLACK, GOLD)
        p.line(22, 9, 29, 9, BLACK)
        p.line(2, 23, 14, 23, BLACK)
        p.line(14, 17, 14, 29, BLACK, 2)
        p.line(18, 17, 18, 29, BLACK, 2)
        p.line(18, 23, 29, 23, BLACK)
    elif cid == 199:  # resistors (terminators)
        p.line(16, 2, 16, 8, BLACK)
        p.box(12, 8, 20, 24, BLACK, GOLD)
        p.line(16, 24, 16, 30, BLACK)
        p.line(13, 12, 19, 12, RED)
        p.line(13, 15, 19, 15, BLACK)
        p.line(13, 18, 19, 18, BLUE)
    else:
        raise ValueError(cid)
    return p


IDS = (103, 104, 108, 109, 110, 113, 114, 115, 122, 123, 124, 125, 126, 127, 131, 135, 139,
       153, 154, 155, 158, 159, 160, 164, 166, 199)


def main():
    os.makedirs(OUT, exist_ok=True)
    for cid in IDS:
        write_indexed_bmp(os.path.join(OUT, '%d.bmp' % cid), draw(cid).px, PALETTE)


if __name__ == '__main__':
    main()
