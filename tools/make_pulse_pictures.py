#!/usr/bin/env python3
"""Draws the picture that the interval detector of the microcontroller's
block library draws in its body, into data/schemeIcons:

  IntervalDetectorBMP.bmp   80 x 38: the two encoder channels A and B, a
                            quarter period apart, over the measuring
                            pulses that the block counts in one period

The block draws it unscaled at 20, 4 inside its 120 x 60 body, above the
interval it writes at 35, 45; the white background is the body's colour.
Run it again after changing the drawing:
  python3 tools/make_pulse_pictures.py
"""
import os

from picture_files import RgbPicture, rgb_bmp_bytes

HERE = os.path.dirname(os.path.abspath(__file__))
ICONS = os.path.join(HERE, '..', 'data', 'schemeIcons')

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
CHANNEL_A = (0, 64, 176)
CHANNEL_B = (0, 128, 64)
PULSES = (200, 0, 0)
GUIDE = (170, 170, 170)

WIDTH, HEIGHT = 80, 38
TRACE_X0 = 10          # traces start right of their labels
PERIOD = 28            # pixels per input period
HIGH, LOW = 0, 7       # offsets of the levels inside a trace's band


def square_wave(pic, x0, x1, top, phase, colour):
    """A square wave of PERIOD pixels between x0 and x1 in the band from
    top (high) to top + LOW (low), shifted right by phase pixels."""
    def level(x):
        return HIGH if ((x - x0 + PERIOD - phase) % PERIOD) < PERIOD // 2 else LOW
    previous = level(x0)
    for x in range(x0, x1 + 1):
        current = level(x)
        if current != previous:
            pic.line(x, top + HIGH, x, top + LOW, colour)
        pic.dot(x, top + current, colour)
        previous = current


def interval_detector():
    pic = RgbPicture(WIDTH, HEIGHT, WHITE)
    x1 = WIDTH - 3
    pic.text(1, 2, 'A', CHANNEL_A)
    square_wave(pic, TRACE_X0, x1, 2, 0, CHANNEL_A)
    pic.text(1, 14, 'B', CHANNEL_B)
    square_wave(pic, TRACE_X0, x1, 14, PERIOD // 4, CHANNEL_B)
    # One input period, marked from rising edge to rising edge of A.
    start, end = TRACE_X0 + PERIOD, TRACE_X0 + 2 * PERIOD
    for x in (start, end):
        for y in range(0, 31, 2):
            pic.dot(x, y, GUIDE)
    pic.line(start + 1, 26, end - 1, 26, BLACK)
    pic.line(start + 1, 25, start + 3, 27, BLACK)
    pic.line(end - 3, 25, end - 1, 27, BLACK)
    # The measuring pulses counted inside it.
    for x in range(TRACE_X0, x1 + 1, 4):
        colour = PULSES if start < x < end else GUIDE
        pic.line(x, 30, x, 36, colour)
    pic.line(TRACE_X0, 36, x1, 36, BLACK)
    return pic


def main():
    with open(os.path.join(ICONS, 'IntervalDetectorBMP.bmp'), 'wb') as f:
        f.write(rgb_bmp_bytes(interval_detector().px))


if __name__ == '__main__':
    main()
