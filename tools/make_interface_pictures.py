#!/usr/bin/env python3
"""Draws the picture of the audio-system block ("Аудио-система") of the
control-panel computer's program: a loudspeaker sending sound waves, on a
light panel with a dark frame, 83 x 80 pixels (the block's size; the block
stretches it over its body). Writes data/schemeIcons/dynamics.jpg.

Run it again after changing the picture:
  python3 tools/make_interface_pictures.py
"""
import math
import os

from picture_files import write_rgb_jpeg

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'data', 'schemeIcons')
WIDTH, HEIGHT = 83, 80

PANEL = (226, 230, 236)
FRAME = (40, 44, 52)
BODY = (30, 30, 34)
CONE = (92, 98, 110)
WAVE = (200, 40, 40)


def inside_polygon(x, y, points):
    n = len(points)
    hit = False
    for i in range(n):
        x0, y0 = points[i]
        x1, y1 = points[(i + 1) % n]
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            hit = not hit
    return hit


def speaker():
    rows = [[PANEL] * WIDTH for _ in range(HEIGHT)]
    cy = HEIGHT / 2
    magnet = [(10, cy - 10), (24, cy - 10), (24, cy + 10), (10, cy + 10)]
    cone = [(24, cy - 10), (44, cy - 26), (44, cy + 26), (24, cy + 10)]
    for y in range(HEIGHT):
        for x in range(WIDTH):
            px, py = x + 0.5, y + 0.5
            if x < 2 or y < 2 or x >= WIDTH - 2 or y >= HEIGHT - 2:
                rows[y][x] = FRAME
            elif inside_polygon(px, py, magnet):
                rows[y][x] = BODY
            elif inside_polygon(px, py, cone):
                rows[y][x] = CONE
            else:
                # Three arcs around the cone's mouth.
                d = math.hypot(px - 40, py - cy)
                angle = abs(math.atan2(py - cy, px - 40))
                for r in (14, 22, 30):
                    if abs(d - r) < 1.6 and angle < 0.8:
                        rows[y][x] = WAVE
    return rows


def main():
    os.makedirs(OUT, exist_ok=True)
    write_rgb_jpeg(os.path.join(OUT, 'dynamics.jpg'), speaker())


if __name__ == '__main__':
    main()
