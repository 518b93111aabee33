#!/usr/bin/env python3
"""Draws the picture that the visual-navigation block of the on-board
computer draws in its body, into data/schemeIcons:

  videonavigationicon.bmp   100 x 80: a navigation map seen from above,
                            with the walls the range finders marked, the
                            key frames recorded along a corridor (small
                            camera marks), a planned route through them to
                            a place (flag) and the robot at its start

The block draws it unscaled at 50, 20 inside its 200-pixel-wide green
body. Run it again after changing the drawing:
  python3 tools/make_navigation_pictures.py
"""
import os

from picture_files import RgbPicture, rgb_bmp_bytes

HERE = os.path.dirname(os.path.abspath(__file__))
ICONS = os.path.join(HERE, '..', 'data', 'schemeIcons')

WIDTH, HEIGHT = 100, 80
PAPER = (236, 244, 236)
FRAME = (0, 0, 0)
GRID = (200, 214, 200)
WALL = (90, 60, 30)
KEY_FRAME = (30, 70, 200)
ROUTE = (200, 30, 30)
ROBOT = (0, 0, 0)
ROBOT_FILL = (255, 220, 0)
FLAG = (0, 120, 0)


def navigation_map():
    pic = RgbPicture(WIDTH, HEIGHT, PAPER)
    for x in range(10, WIDTH, 10):
        pic.line(x, 1, x, HEIGHT - 2, GRID)
    for y in range(10, HEIGHT, 10):
        pic.line(1, y, WIDTH - 2, y, GRID)
    pic.box(0, 0, WIDTH - 1, HEIGHT - 1, FRAME)
    # The corridor's walls: an L-shaped passage from bottom left to top right.
    for wall in ((8, 72, 8, 30), (8, 30, 60, 30), (28, 72, 28, 50), (28, 50, 80, 50),
                 (60, 30, 60, 8), (80, 50, 80, 8)):
        pic.line(*wall, WALL, 2)
    # Key frames along the corridor, then the route through them.
    frames = [(18, 66), (18, 54), (18, 42), (30, 40), (42, 40), (54, 40), (70, 38), (70, 26), (70, 16)]
    route = [(18, 72)] + frames + [(70, 8)]
    for (x0, y0), (x1, y1) in zip(route, route[1:]):
        pic.line(x0, y0, x1, y1, ROUTE, 2)
    for x, y in frames:
        pic.box(x - 2, y - 2, x + 2, y + 2, KEY_FRAME, (255, 255, 255))
    # The place the route leads to.
    pic.line(70, 3, 70, 10, FLAG)
    pic.fill(71, 3, 76, 6, FLAG)
    # The robot at the start, heading up the corridor.
    pic.circle(18, 72, 4, ROBOT, ROBOT_FILL)
    pic.line(18, 72, 18, 66, ROBOT)
    return pic


def main():
    with open(os.path.join(ICONS, 'videonavigationicon.bmp'), 'wb') as f:
        f.write(rgb_bmp_bytes(navigation_map().px))


if __name__ == '__main__':
    main()
