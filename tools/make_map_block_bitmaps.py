#!/usr/bin/env python3
"""Draws the pictures that the on-board computer's mapping blocks copy into
the middle of their body, as 48 x 48 8-bit BMP files into
resources/velkboard/blocks/ (bitmap resources of Velkboard):

  186.bmp   the stereo scan sector: two cameras under the fan of their
            common view, with the nearest obstacle seen in each column
  195.bmp   the local map: the robot seen from above among obstacle points,
            between its two virtual walls

The background is the blocks' grey fill (0xCCCCCC), so the pictures sit in
the body without a seam. Run it again after changing a picture:
  python3 tools/make_map_block_bitmaps.py
"""
import math
import os

from picture_files import IndexedPicture, write_indexed_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'velkboard', 'blocks')
SIZE = 48

PALETTE = [
    (204, 204, 204),  # 0 the blocks' fill
    (0, 0, 0),        # 1 black
    (255, 255, 255),  # 2 white
    (30, 70, 200),    # 3 blue: cameras, the robot
    (200, 30, 30),    # 4 red: obstacles
    (0, 130, 0),      # 5 green: the view
    (102, 102, 102),  # 6 dark grey: walls
    (235, 245, 235),  # 7 pale green: the field of view
]
FILL, BLACK, WHITE, BLUE, RED, GREEN, DARK, PALE = range(8)


def scan_sector():
    p = IndexedPicture(SIZE, FILL)
    apex_x, apex_y = 24, 40
    half = math.radians(30)
    reach = 34
    # The field of view, filled, then its edges.
    for y in range(SIZE):
        for x in range(SIZE):
            dx, dy = x - apex_x, apex_y - y
            if 0 < dy <= reach and abs(math.atan2(dx, dy)) < half:
                p.dot(x, y, PALE)
    for side in (-1, 1):
        p.line(apex_x, apex_y, round(apex_x + side * reach * math.tan(half)), apex_y - reach, GREEN)
    # The nearest obstacle of each column: a wall with a step in it.
    for column in range(-8, 9):
        depth = 24 if column < 2 else 16
        x = apex_x + round(column * depth * math.tan(half) / 9)
        p.dot(x, apex_y - depth, RED)
        p.dot(x, apex_y - depth - 1, RED)
    # The two cameras on their bar.
    p.box(12, 41, 35, 44, BLACK, DARK)
    for cx in (17, 30):
        p.box(cx - 3, 38, cx + 3, 42, BLACK, BLUE)
        p.dot(cx, 40, WHITE)
    return p.px


def local_map():
    p = IndexedPicture(SIZE, FILL)
    p.box(3, 3, 44, 44, BLACK, WHITE)
    # The virtual walls either side of the robot.
    for x in (14, 33):
        for y in range(18, 40, 3):
            p.dot(x, y, DARK)
    # The robot, its nose up.
    p.box(19, 27, 28, 38, BLACK, BLUE)
    p.line(23, 29, 23, 31, WHITE)
    p.line(24, 29, 24, 31, WHITE)
    # Obstacles ahead: an arc a range finder saw and a few scattered points.
    for step in range(-6, 7):
        a = math.radians(step * 7)
        p.dot(round(23.5 + 16 * math.sin(a)), round(27 - 16 * math.cos(a)), RED)
    for x, y in ((7, 8), (9, 30), (39, 12), (40, 34), (36, 40), (8, 41)):
        p.dot(x, y, RED)
        p.dot(x + 1, y, RED)
    return p.px


def main():
    os.makedirs(OUT, exist_ok=True)
    write_indexed_bmp(os.path.join(OUT, '186.bmp'), scan_sector(), PALETTE)
    write_indexed_bmp(os.path.join(OUT, '195.bmp'), local_map(), PALETTE)


if __name__ == '__main__':
    main()
