#!/usr/bin/env python3
"""Draws the picture of the programmable units: the control-panel computer's
scheme symbol, a notebook ("notebook.png", 230 x 157, the symbol's size),
into data/schemeIcons. Run it again after changing the drawing."""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from picture_files import draw_text, text_width, write_png  # noqa: E402

ICONS = os.path.join(HERE, "..", "data", "schemeIcons")

WIDTH, HEIGHT = 230, 157
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
CASE = (70, 74, 82)
SCREEN = (40, 90, 150)
KEYS = (190, 192, 198)
KEY = (235, 236, 238)


def notebook():
    px = [[WHITE] * WIDTH for _ in range(HEIGHT)]

    def rect(x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(HEIGHT, y1)):
            for x in range(max(0, x0), min(WIDTH, x1)):
                px[y][x] = c

    def dot(x, y, c):
        if 0 <= x < WIDTH and 0 <= y < HEIGHT:
            px[y][x] = c

    # The lid with its screen.
    rect(40, 6, 190, 96, CASE)
    rect(48, 13, 182, 89, SCREEN)
    label = "VELK"
    draw_text(dot, (WIDTH - text_width(label)) // 2, 47, label, WHITE)
    # The base with the keyboard, wider at the front.
    for i, y in enumerate(range(96, 146)):
        inset = 40 - (i * 30) // 50
        rect(inset, y, WIDTH - inset, y + 1, CASE)
    for row in range(4):
        y = 101 + row * 9
        inset = 40 - ((y - 96) * 30) // 50 + 8
        x = inset
        while x + 9 < WIDTH - inset:
            rect(x, y, x + 8, y + 7, KEY)
            x += 10
    rect(95, 138, 135, 144, KEYS)  # touch pad
    # The connectors on the right edge: USB, Ethernet and the supply.
    rect(210, 110, 224, 116, BLACK)
    rect(210, 78, 224, 86, BLACK)
    rect(214, 60, 224, 64, BLACK)
    rect(214, 41, 224, 45, BLACK)
    return px


def main():
    os.makedirs(ICONS, exist_ok=True)
    write_png(os.path.join(ICONS, "notebook.png"), notebook())


if __name__ == "__main__":
    main()
