#!/usr/bin/env python3
"""Draws the 16 x 16 pictures of the control-panel editor's palette (one per
item kind: 145 text, 143 line, 142 picture, 141 button, 140 slider, 162
joystick, 161 video, 163 indicator) and of the picture dialog's tool buttons
(152 open, 150 save, 146 clear, 148 copy, 149 paste), and writes them as
8-bit indexed BMP files into resources/velkboard/panel/. Pixel (0, 0) is the
background, which the speed buttons draw transparent.

Run it again after changing a picture:
  python3 tools/make_panel_bitmaps.py
"""
import os

from picture_files import IndexedPicture, write_indexed_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'velkboard', 'panel')
SIZE = 16

PALETTE = [
    (255, 0, 255),    # 0 background (transparent)
    (0, 0, 0),        # 1 black
    (255, 255, 255),  # 2 white
    (0, 150, 0),      # 3 green
    (200, 30, 30),    # 4 red
    (40, 80, 200),    # 5 blue
    (102, 102, 102),  # 6 grey
    (230, 180, 40),   # 7 gold
    (170, 170, 170),  # 8 button grey
    (204, 204, 204),  # 9 light grey
]
BG, BLACK, WHITE, GREEN, RED, BLUE, GREY, GOLD, BUTTON, LIGHT = range(10)


def draw(cid):
    p = IndexedPicture(SIZE, BG)
    if cid == 145:  # text: a letter T
        p.line(3, 3, 12, 3, BLACK)
        p.line(3, 4, 12, 4, BLACK)
        p.line(7, 5, 7, 13, BLACK)
        p.line(8, 5, 8, 13, BLACK)
    elif cid == 143:  # line
        p.line(2, 13, 13, 2, GREY)
        p.line(2, 12, 12, 2, GREY)
    elif cid == 142:  # picture: a crossed frame
        p.box(2, 2, 13, 13, BLACK, WHITE)
        p.line(2, 2, 13, 13, BLUE)
        p.line(13, 2, 2, 13, BLUE)
    elif cid == 141:  # button
        p.box(1, 4, 14, 11, BLACK, BUTTON)
        p.line(2, 5, 13, 5, WHITE)
        p.line(2, 5, 2, 10, WHITE)
    elif cid == 140:  # slider
        p.box(7, 1, 8, 14, GREY, GREY)
        p.box(4, 6, 11, 9, BLACK, LIGHT)
    elif cid == 162:  # joystick
        p.line(7, 1, 7, 14, GREY)
        p.line(1, 7, 14, 7, GREY)
        p.circle(7, 7, 4, BLACK, GREY)
    elif cid == 161:  # video
        p.box(1, 3, 14, 12, BLACK, BLACK)
        p.line(5, 6, 5, 9, WHITE)
        p.line(6, 6, 9, 7, WHITE)
        p.line(6, 9, 9, 8, WHITE)
    elif cid == 163:  # indicator: digits in a sunken box
        p.box(1, 4, 14, 11, GREY, WHITE)
        p.box(3, 6, 5, 9, BLACK)
        p.dot(7, 9, BLACK)
        p.box(9, 6, 11, 9, BLACK)
    elif cid == 152:  # open: a folder
        p.box(1, 4, 6, 6, BLACK, GOLD)
        p.box(1, 6, 14, 13, BLACK, GOLD)
    elif cid == 150:  # save: a disk
        p.box(2, 2, 13, 13, BLACK, BLUE)
        p.box(4, 2, 11, 6, BLACK, WHITE)
        p.box(5, 9, 10, 13, BLACK, LIGHT)
    elif cid == 146:  # clear: a red cross
        for d in range(2):
            p.line(3 + d, 3, 12 + d, 12, RED)
            p.line(12 + d, 3, 3 + d, 12, RED)
    elif cid == 148:  # copy: two sheets
        p.box(1, 1, 8, 10, BLACK, WHITE)
        p.box(6, 5, 13, 14, BLACK, WHITE)
    elif cid == 149:  # paste: a sheet on a clipboard
        p.box(2, 2, 11, 14, BLACK, GOLD)
        p.box(5, 1, 8, 3, BLACK, GREY)
        p.box(7, 6, 14, 14, BLACK, WHITE)
    else:
        raise ValueError(cid)
    return p


IDS = (140, 141, 142, 143, 145, 146, 148, 149, 150, 152, 161, 162, 163)


def main():
    os.makedirs(OUT, exist_ok=True)
    for cid in IDS:
        write_indexed_bmp(os.path.join(OUT, '%d.bmp' % cid), draw(cid).px, PALETTE)


if __name__ == '__main__':
    main()
