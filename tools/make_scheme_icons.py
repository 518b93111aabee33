#!/usr/bin/env python3
"""Draws the class pictures that components and blocks load by file name
from data/schemeIcons/ (the build copies the folder beside the programs),
and the control-panel device picture data/screen.png, which the panel
stream's preview loads from the program folder:

  T.png, 5.png          the hydraulic T fitting and the five-way block
  multimeter.png        the multimeter
  battery.png           the battery
  USB-RS232.png         the USB-COM cable
  avrplot.bmp           the graph-builder block
  button.jpg, trackbar.jpg, joystick.jpg, video.jpg
                        the control blocks of the panel's computer
  screen.png            the panel device around its screen

Each picture has the size of the symbol or block it stands for, so it is
drawn unscaled; pins meet the picture where the class places them. PNG
and BMP files are written by the shared writers, JPEG files through
ImageMagick's convert. The block editor's palette pictures are drawn by
make_block_palette.py. Run it again after changing a drawing:
  python3 tools/make_scheme_icons.py
"""
import math
import os

from picture_files import RgbPicture, png_bytes, rgb_bmp_bytes, write_jpeg, write_png

HERE = os.path.dirname(os.path.abspath(__file__))
ICONS = os.path.join(HERE, '..', 'data', 'schemeIcons')
DATA = os.path.join(HERE, '..', 'data')

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
PIPE = (70, 120, 190)
PIPE_LIGHT = (150, 190, 235)
BRASS = (200, 160, 60)


def pipe_across(p, y, x0, x1):
    """A horizontal hose of 7 px centred on row y."""
    p.fill(x0, y - 3, x1, y + 3, PIPE)
    p.fill(x0, y - 2, x1, y - 1, PIPE_LIGHT)
    p.fill(x0, y - 3, x1, y - 3, BLACK)
    p.fill(x0, y + 3, x1, y + 3, BLACK)


def pipe_down(p, x, y0, y1):
    """A vertical hose of 7 px centred on column x."""
    p.fill(x - 3, y0, x + 3, y1, PIPE)
    p.fill(x - 2, y0, x - 1, y1, PIPE_LIGHT)
    p.fill(x - 3, y0, x - 3, y1, BLACK)
    p.fill(x + 3, y0, x + 3, y1, BLACK)


def tee():
    # Pins: left and right at row 5, bottom at column 15.
    p = RgbPicture(30, 20, WHITE)
    pipe_down(p, 15, 5, 19)
    pipe_across(p, 5, 0, 29)
    p.fill(12, 3, 18, 8, PIPE)  # the joint, open into both hoses
    p.box(11, 1, 19, 10, BLACK)
    p.box(12, 2, 18, 9, BRASS)
    return p


def five_way():
    # Pins: left and right at row 12, top at columns 8, 20 and 33.
    p = RgbPicture(40, 17, WHITE)
    for x in (8, 20, 33):
        pipe_down(p, x, 0, 10)
    p.box(3, 7, 36, 16, BLACK, BRASS)
    p.fill(4, 8, 35, 9, (230, 200, 110))
    pipe_across(p, 12, 0, 3)
    pipe_across(p, 12, 36, 39)
    for x in (8, 20, 33):
        p.fill(x - 2, 11, x + 2, 13, PIPE)
    return p


def multimeter():
    # Probe sockets on the left and right edges at row 51; the lower left
    # corner stays plain for the instance name drawn over it.
    body = (250, 200, 40)
    p = RgbPicture(80, 100, WHITE)
    p.box(4, 2, 75, 97, BLACK, body)
    p.box(5, 3, 74, 96, (255, 225, 110))
    p.fill(6, 4, 73, 95, body)
    p.box(11, 8, 68, 30, BLACK, (60, 70, 60))       # display
    p.fill(13, 10, 66, 28, (180, 200, 150))
    p.text(22, 15, '12.34', (30, 40, 30))
    p.circle(40, 56, 14, BLACK, (60, 60, 60))        # range dial
    p.line(40, 56, 49, 46, WHITE, 2)
    for k in range(8):
        a = math.pi * (0.75 + 1.5 * k / 7)
        p.dot(round(40 + 18 * math.cos(a)), round(56 - 18 * math.sin(a)), BLACK)
    for x in (6, 73):                                 # the probe sockets
        p.circle(x, 51, 3, BLACK, (200, 30, 30) if x > 40 else (20, 20, 20))
    p.fill(0, 51, 3, 51, BLACK)
    p.fill(76, 51, 79, 51, BLACK)
    p.text(28, 80, 'V A', BLACK)
    return p


def battery():
    # Leads to the pins at rows 22 and 23 on both sides; a dark case, its terminals
    # (grey minus, red plus) and the charge cells.
    case, lower, cell = (60, 64, 72), (88, 92, 100), (60, 190, 80)
    p = RgbPicture(90, 80, WHITE)
    p.box(16, 8, 73, 73, BLACK)
    p.fill(22, 4, 31, 8, BLACK)
    p.fill(23, 5, 30, 8, (170, 170, 170))
    p.fill(58, 4, 67, 8, BLACK)
    p.fill(59, 5, 66, 8, (200, 60, 50))
    p.fill(17, 9, 72, 33, case)
    p.fill(17, 34, 72, 72, lower)
    p.fill(21, 21, 30, 24, WHITE)   # minus
    p.fill(59, 21, 68, 24, WHITE)   # plus
    p.fill(62, 18, 65, 27, WHITE)
    for x in (26, 39, 52):
        p.fill(x, 48, x + 9, 61, cell)
    p.fill(0, 22, 15, 23, BLACK)
    p.fill(74, 22, 89, 23, BLACK)
    return p


def usb_com():
    # The USB plug, the cable and the blue COM connector with its window.
    p = RgbPicture(170, 40, WHITE)
    p.fill(2, 12, 30, 28, (160, 160, 160))
    p.fill(31, 16, 36, 24, (90, 90, 90))
    p.fill(36, 19, 134, 21, BLACK)
    p.fill(135, 4, 168, 36, (40, 60, 160))
    p.fill(150, 10, 162, 30, WHITE)
    return p


def plot_block():
    # The graph builder's whole body, 80 x 40: a chart with its axes.
    p = RgbPicture(80, 40, (204, 204, 204))
    p.box(0, 0, 79, 39, BLACK)
    p.fill(4, 4, 75, 35, WHITE)
    p.line(8, 31, 72, 31, BLACK)
    p.line(8, 6, 8, 31, BLACK)
    for x in range(16, 73, 8):
        p.dot(x, 32, BLACK)
    last = None
    for x in range(9, 72):
        y = round(19 - 9 * math.sin((x - 9) / 9.0) * math.exp(-(x - 9) / 60.0))
        if last:
            p.line(last[0], last[1], x, y, (30, 70, 200))
        last = (x, y)
    return p


def bevel(p, x0, y0, x1, y1, face, light, dark):
    p.fill(x0, y0, x1, y1, face)
    p.fill(x0, y0, x1, y0, light)
    p.fill(x0, y0, x0, y1, light)
    p.fill(x0, y1, x1, y1, dark)
    p.fill(x1, y0, x1, y1, dark)


def button_block():
    p = RgbPicture(60, 20, WHITE)
    bevel(p, 2, 2, 57, 17, (210, 210, 210), WHITE, (90, 90, 90))
    p.box(1, 1, 58, 18, BLACK)
    p.text(21, 7, 'OK', BLACK)
    return p


def trackbar_block():
    p = RgbPicture(30, 60, WHITE)
    bevel(p, 13, 4, 16, 55, (120, 120, 120), (60, 60, 60), (235, 235, 235))
    for y in range(6, 55, 8):
        p.fill(6, y, 9, y, BLACK)
        p.fill(20, y, 23, y, BLACK)
    bevel(p, 7, 26, 22, 33, (200, 200, 200), WHITE, (80, 80, 80))
    return p


def joystick_block():
    p = RgbPicture(60, 48, WHITE)
    p.circle(30, 24, 20, (80, 80, 80), (225, 225, 225))
    p.line(30, 8, 30, 40, (150, 150, 150))
    p.line(14, 24, 46, 24, (150, 150, 150))
    p.circle(36, 18, 6, BLACK, (200, 30, 30))
    return p


def video_block():
    p = RgbPicture(120, 64, BLACK)
    p.box(0, 0, 119, 63, (90, 90, 90))
    # a camera on the dark screen
    p.fill(42, 24, 71, 41, (190, 190, 190))
    p.fill(72, 28, 81, 37, (150, 150, 150))
    p.circle(52, 32, 5, BLACK, (30, 70, 200))
    p.fill(46, 20, 51, 23, (190, 190, 190))
    return p


def screen():
    # The panel device: a dark rugged case with rounded corners (transparent
    # around them) and its screen, into whose area (24, 28) - (488, 233) the
    # panel is drawn.
    width, height, radius = 512, 261, 18
    clear = (0, 0, 0, 0)
    p = RgbPicture(width, height, clear)
    case, edge = (58, 62, 70, 255), (30, 32, 36, 255)
    for y in range(height):
        for x in range(width):
            cx = min(max(x, radius), width - 1 - radius)
            cy = min(max(y, radius), height - 1 - radius)
            d = math.hypot(x - cx, y - cy)
            if d <= radius - 1:
                p.dot(x, y, case)
            elif d <= radius:
                p.dot(x, y, edge)
    p.box(20, 24, 491, 236, (20, 20, 20, 255), (0, 0, 0, 255))
    p.fill(24, 28, 487, 232, (240, 240, 240, 255))
    for k, x in enumerate(range(200, 320, 30)):       # buttons under the screen
        p.fill(x, 243, x + 20, 252, (200, 40, 40, 255) if k == 0 else (110, 115, 125, 255))
    p.circle(256, 12, 4, (20, 20, 20, 255), (70, 160, 70, 255))  # the power lamp
    return p


def main():
    os.makedirs(ICONS, exist_ok=True)
    write_png(os.path.join(ICONS, 'T.png'), tee().px)
    write_png(os.path.join(ICONS, '5.png'), five_way().px)
    write_png(os.path.join(ICONS, 'multimeter.png'), multimeter().px)
    write_png(os.path.join(ICONS, 'battery.png'), battery().px)
    write_png(os.path.join(ICONS, 'USB-RS232.png'), usb_com().px)
    with open(os.path.join(ICONS, 'avrplot.bmp'), 'wb') as f:
        f.write(rgb_bmp_bytes(plot_block().px))
    write_jpeg(os.path.join(ICONS, 'button.jpg'), button_block().px)
    write_jpeg(os.path.join(ICONS, 'trackbar.jpg'), trackbar_block().px)
    write_jpeg(os.path.join(ICONS, 'joystick.jpg'), joystick_block().px)
    write_jpeg(os.path.join(ICONS, 'video.jpg'), video_block().px)
    with open(os.path.join(DATA, 'screen.png'), 'wb') as f:
        f.write(png_bytes(screen().px))


if __name__ == '__main__':
    main()
