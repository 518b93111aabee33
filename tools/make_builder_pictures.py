#!/usr/bin/env python3
"""Draws the picture of the scan-sector property dialog as an 8-bit BMP
file into resources/dialogs/ (a bitmap resource of the block dialogs,
resources/dialogs.rc):

  scan_sector_drawing.bmp   150 x 120: the stereo pair from above (the base D between the
            cameras, zMin and zMax along the depth axis Z) and from the side
            (two coloured height slices, "Срез 1" and "Срез 2", between yMin
            and yMax)

Run it again after changing a picture:
  python3 tools/make_builder_pictures.py
"""
import os

from picture_files import FONT, draw_text, write_indexed_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'dialogs')

PALETTE = [
    (255, 0, 255),    # 0 unused
    (0, 0, 0),        # 1 black
    (255, 255, 255),  # 2 white
    (0, 150, 0),      # 3 green: add
    (30, 70, 200),    # 4 blue: arrows, cameras
    (160, 160, 160),  # 5 grey: the greyed pictures
    (255, 0, 0),      # 6 red: slice 1
    (0, 200, 0),      # 7 green: slice 2
    (102, 102, 102),  # 8 dark grey: axes
    (255, 220, 220),  # 9 pale red
    (220, 255, 220),  # 10 pale green
]
BACK, BLACK, WHITE, GREEN, BLUE, GREY, RED, SLICE2, DARK, PALE_RED, PALE_GREEN = range(11)

# The labels' Cyrillic letters in the shared 5 x 7 font's style.
CYRILLIC = {
    'С': ['.###.', '#...#', '#....', '#....', '#....', '#...#', '.###.'],
    'р': ['.....', '.....', '####.', '#...#', '####.', '#....', '#....'],
    'е': ['.....', '.....', '.###.', '#...#', '#####', '#....', '.###.'],
    'з': ['.....', '.....', '####.', '....#', '..##.', '....#', '####.'],
}
# And the Latin z, which the shared font lacks.
LATIN = {'z': ['.....', '.....', '#####', '...#.', '..#..', '.#...', '#####']}
FONT.update(CYRILLIC)
FONT.update(LATIN)


class Picture:
    """A width x height picture of palette indices, background filled."""

    def __init__(self, width, height, background):
        self.width, self.height = width, height
        self.px = [[background] * width for _ in range(height)]

    def dot(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.dot(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            self.dot(round(x0 + (x1 - x0) * i / n), round(y0 + (y1 - y0) * i / n), c)

    def text(self, x, y, label, c):
        draw_text(self.dot, x, y, label, c)


def drawing():
    p = Picture(150, 120, WHITE)
    # From above: the two cameras on their base, the depth axis Z ahead.
    p.fill(8, 100, 12, 106, BLUE)
    p.fill(28, 100, 32, 106, BLUE)
    p.line(12, 103, 28, 103, BLACK)
    p.text(17, 108, 'D', BLACK)
    p.line(20, 98, 20, 8, DARK)
    p.line(18, 10, 20, 6, DARK)
    p.line(22, 10, 20, 6, DARK)
    p.text(24, 4, 'Z', BLACK)
    for y, label in ((80, 'zMin'), (22, 'zMax')):
        p.line(6, y, 34, y, BLACK)
        p.text(37, y - 3, label, BLACK)
    # From the side: two height slices between yMin and yMax ahead of the
    # camera.
    p.fill(84, 86, 89, 92, BLUE)
    p.line(89, 89, 144, 89, DARK)
    p.fill(96, 62, 144, 88, PALE_RED)
    p.fill(96, 34, 144, 61, PALE_GREEN)
    for y in (88, 62):
        p.line(96, y, 144, y, RED)
    for y in (61, 34):
        p.line(96, y, 144, y, SLICE2)
    p.text(104, 72, 'Срез 1', RED)
    p.text(104, 44, 'Срез 2', SLICE2)
    p.line(92, 88, 92, 34, BLACK)
    p.text(62, 30, 'yMax', BLACK)
    p.text(58, 84, 'yMin', BLACK)
    return p.px


def main():
    os.makedirs(OUT, exist_ok=True)
    write_indexed_bmp(os.path.join(OUT, 'scan_sector_drawing.bmp'), drawing(), PALETTE)


if __name__ == '__main__':
    main()
