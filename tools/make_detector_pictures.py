#!/usr/bin/env python3
"""Draws the pictures that the camera detectors of the on-board computer
draw in the centre of their grey body, into resources/detectors/ (linked
into the programs as bitmap resources by resources/detectors.rc):

  road_detector.bmp   48 x 48 (resource 187): a road running to the
                      horizon with the three danger zones (left, ahead,
                      right) marked in front of the camera
  strip_detector.bmp  32 x 32 (resource 197): a white strip on the floor
                      forking to the left, seen from above

The background is the body's grey (0xCCCCCC). Run it again after changing
the drawing:
  python3 tools/make_detector_pictures.py
"""
import os

from picture_files import RgbPicture, rgb_bmp_bytes

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'detectors')

GREY = (204, 204, 204)
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
ROAD = (90, 90, 90)
GRASS = (70, 150, 60)
SKY = (150, 190, 235)
DANGER = (210, 30, 30)
WARN = (240, 170, 0)
SAFE = (0, 150, 0)
FLOOR = (60, 60, 80)


def road_detector():
    p = RgbPicture(48, 48, GREY)
    p.box(2, 2, 45, 45, BLACK, SKY)
    p.fill(3, 20, 44, 44, GRASS)
    # The road narrows from the bottom edge to a point on the horizon.
    for y in range(20, 45):
        half = (y - 20) * 20 // 24
        p.fill(24 - half, y, 24 + half, y, ROAD)
    for y in range(24, 45, 5):
        p.line(24, y, 24, y + 2, WHITE)
    # Danger zones: left, ahead, right.
    p.circle(10, 12, 4, BLACK, DANGER)
    p.circle(24, 9, 4, BLACK, SAFE)
    p.circle(38, 12, 4, BLACK, WARN)
    return p


def strip_detector():
    p = RgbPicture(32, 32, GREY)
    p.box(1, 1, 30, 30, BLACK, FLOOR)
    # The strip from the bottom, forking to the upper left and going on.
    p.line(16, 29, 16, 4, WHITE, 3)
    p.line(16, 15, 5, 5, WHITE, 3)
    # The camera's centre mark.
    p.line(13, 22, 19, 22, DANGER)
    return p


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, draw in (('road_detector.bmp', road_detector), ('strip_detector.bmp', strip_detector)):
        with open(os.path.join(OUT, name), 'wb') as f:
            f.write(rgb_bmp_bytes(draw().px))


if __name__ == '__main__':
    main()
