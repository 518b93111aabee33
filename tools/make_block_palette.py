#!/usr/bin/env python3
"""Draws the palette pictures of the block editor: one 32 x 32 8-bit
indexed BMP per catalogue entry, written into data/schemeIcons/ under the
file name its entry names (the build copies the folder beside the
programs). Pixel (0, 0) is the background, which the speed buttons draw
transparent.

Each picture is a block of its palette tab's colour with its inputs on the
left, its outputs on the right and a short label or a small drawing of what
it does. A class that joins a catalogue adds its row to PICTURES (and its
file name to the picture test's table); then run it again:
  python3 tools/make_block_palette.py
"""
import math
import os

from picture_files import IndexedPicture, text_width, write_indexed_bmp

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'data', 'schemeIcons')
SIZE = 32

PALETTE = [
    (255, 0, 255),    # 0 background (transparent)
    (0, 0, 0),        # 1 black
    (255, 255, 255),  # 2 white
    (255, 236, 150),  # 3 generators: yellow
    (170, 225, 240),  # 4 converters: cyan
    (215, 190, 240),  # 5 macro and plug-ins: lilac
    (190, 210, 255),  # 6 mathematics: blue
    (190, 240, 190),  # 7 trigonometry: green
    (255, 205, 160),  # 8 logic: orange
    (215, 215, 215),  # 9 digital: grey
    (255, 200, 215),  # 10 control theory: pink
    (160, 230, 210),  # 11 navigation: teal
    (200, 30, 30),    # 12 red ink
    (30, 70, 200),    # 13 blue ink
    (0, 130, 0),      # 14 green ink
    (102, 102, 102),  # 15 dark grey
]
BG, BLACK, WHITE = 0, 1, 2
GEN, CONV, MACRO, MATH, TRIG, LOGIC, DIGITAL, TAU, NAV = range(3, 12)
RED, BLUE, GREEN, DARK = 12, 13, 14, 15

# The block's body and where its pins stand.
LEFT, TOP, RIGHT, BOTTOM = 4, 4, 27, 27


def block(p, body, inputs, outputs):
    p.box(LEFT, TOP, RIGHT, BOTTOM, BLACK, body)
    for k in range(inputs):
        y = TOP + (BOTTOM - TOP) * (k + 1) // (inputs + 1)
        p.line(0, y, LEFT - 1, y, BLACK)
    for k in range(outputs):
        y = TOP + (BOTTOM - TOP) * (k + 1) // (outputs + 1)
        p.line(RIGHT + 1, y, SIZE - 1, y, BLACK)


def label(p, text, y=None, colour=BLACK):
    """A label centred across the body (one line in the middle by default)."""
    x = (LEFT + RIGHT + 1 - text_width(text)) // 2
    if y is None:
        y = (TOP + BOTTOM + 1 - 7) // 2
    p.text(x, y, text, colour)


def labels(p, upper, lower, colour=BLACK):
    label(p, upper, 8, colour)
    label(p, lower, 17, colour)


def curve(p, f, x0, x1, y_mid, amplitude, colour):
    """The graph of f over [0, 1] from x0 to x1, around y_mid."""
    last = None
    for x in range(x0, x1 + 1):
        t = (x - x0) / (x1 - x0)
        y = round(y_mid - amplitude * f(t))
        if last is not None:
            p.line(last[0], last[1], x, y, colour)
        last = (x, y)


def square_wave(p):
    for k, x in enumerate(range(7, 25, 4)):
        high = k % 2 == 0
        y = 11 if high else 20
        p.line(x, y, x + 4, y, BLUE)
        p.line(x + 4, 11, x + 4, 20, BLUE)


def pulse(p, x0, x1, colour=BLUE):
    p.line(6, 20, x0, 20, colour)
    p.line(x0, 11, x0, 20, colour)
    p.line(x0, 11, x1, 11, colour)
    p.line(x1, 11, x1, 20, colour)
    p.line(x1, 20, 25, 20, colour)


# Drawings of the blocks that show their function rather than a label.
def draw_meander(p):
    block(p, GEN, 0, 1)
    square_wave(p)


def draw_single_pulse(p):
    block(p, GEN, 1, 1)
    pulse(p, 12, 18)


def draw_monostable(p):
    block(p, GEN, 1, 1)
    p.line(8, 9, 8, 22, RED)
    pulse(p, 10, 21)


def draw_duration(p):
    block(p, GEN, 1, 1)
    pulse(p, 9, 13, RED)
    p.line(13, 11, 22, 11, BLUE)
    p.line(22, 11, 22, 20, BLUE)


def draw_event(p):
    block(p, GEN, 1, 1)
    for (x0, y0, x1, y1) in ((17, 7, 11, 16), (11, 16, 19, 15), (19, 15, 13, 24)):
        p.line(x0, y0, x1, y1, RED, 2)


def draw_macro(p):
    block(p, MACRO, 2, 1)
    p.box(8, 8, 14, 13, BLACK, WHITE)
    p.box(17, 17, 23, 22, BLACK, WHITE)
    p.line(14, 10, 20, 10, BLACK)
    p.line(20, 10, 20, 16, BLACK)
    p.line(8, 20, 16, 20, BLACK)


def draw_plugin(p):
    block(p, MACRO, 1, 1)
    label(p, 'DLL', 8)
    # a plug: the body and two prongs
    p.box(12, 17, 19, 23, BLACK, DARK)
    p.line(14, 24, 14, 26, BLACK)
    p.line(17, 24, 17, 26, BLACK)


def draw_script(p):
    block(p, MACRO, 1, 1)
    p.box(8, 6, 23, 25, BLACK, WHITE)
    p.line(19, 6, 23, 10, BLACK)
    label(p, 'JS', 12, BLUE)


def draw_monitor(p):
    block(p, DIGITAL, 1, 0)
    p.box(7, 8, 24, 20, BLACK, WHITE)
    label(p, '1.5', 11, GREEN)
    p.line(13, 23, 18, 23, BLACK, 2)


def draw_plot_icon(p):
    block(p, DIGITAL, 2, 0)
    p.box(7, 7, 24, 24, BLACK, WHITE)
    curve(p, lambda t: math.sin(2 * math.pi * t), 9, 22, 16, 5, BLUE)


def draw_integral(p):
    block(p, TAU, 1, 1)
    label(p, '∫')


def draw_integral_reload(p):
    block(p, TAU, 2, 1)
    label(p, '∫R')


def draw_aperiodic(p):
    block(p, TAU, 1, 1)
    p.line(7, 23, 24, 23, DARK)
    curve(p, lambda t: 1 - math.exp(-5 * t), 7, 24, 23, 13, BLUE)


def draw_oscillating(p):
    block(p, TAU, 1, 1)
    curve(p, lambda t: 1 - math.exp(-3 * t) * math.cos(4 * math.pi * t), 7, 24, 21, 7, BLUE)


def draw_limiter(p):
    block(p, TAU, 1, 1)
    p.line(7, 20, 12, 20, BLUE)
    p.line(12, 20, 19, 11, BLUE)
    p.line(19, 11, 24, 11, BLUE)


def draw_differentiator(p):
    block(p, TAU, 1, 1)
    labels(p, 'd', 'dt')
    p.line(9, 15, 22, 15, BLACK)


def draw_distance(p):
    block(p, TRIG, 4, 1)
    p.circle(9, 21, 2, BLACK, RED)
    p.circle(22, 9, 2, BLACK, RED)
    p.line(10, 19, 20, 11, BLUE)


def draw_rotation(p):
    block(p, TRIG, 3, 2)
    p.line(9, 22, 23, 22, BLUE)
    p.line(9, 22, 19, 10, RED)
    curve(p, lambda t: math.sin(t * 0.9), 16, 18, 19, 3, BLACK)


def draw_road_detector(p):
    block(p, NAV, 1, 3)
    # a road narrowing to the horizon, a danger mark on each side
    p.line(9, 25, 14, 12, DARK)
    p.line(22, 25, 17, 12, DARK)
    p.line(15, 23, 15, 20, WHITE)
    p.line(15, 17, 15, 15, WHITE)
    p.dot(8, 8, RED)
    p.dot(15, 7, GREEN)
    p.dot(23, 8, RED)


def draw_strip_detector(p):
    block(p, NAV, 1, 7)
    # a strip on the floor forking to the left
    p.line(15, 25, 15, 7, WHITE, 2)
    p.line(15, 15, 8, 8, WHITE, 2)
    p.line(12, 20, 18, 20, RED)


def draw_fuzzy(p):
    block(p, NAV, 2, 1)
    # three overlapping membership triangles
    for x0, colour in ((6, BLUE), (11, GREEN), (16, RED)):
        p.line(x0, 22, x0 + 5, 10, colour)
        p.line(x0 + 5, 10, x0 + 10, 22, colour)
    p.line(6, 22, 26, 22, BLACK)


def text_block(body, inputs, outputs, upper, lower=None):
    def draw(p):
        block(p, body, inputs, outputs)
        if lower is None:
            label(p, upper)
        else:
            labels(p, upper, lower)
    return draw


# File name: the drawing. The groups follow the palette tabs.
PICTURES = {
    # Генераторы
    'constant.bmp': text_block(GEN, 0, 1, '123'),
    'meander.bmp': draw_meander,
    'singleimpuls.bmp': draw_single_pulse,
    'monostable.bmp': draw_monostable,
    'duration.bmp': draw_duration,
    'event.bmp': draw_event,
    # Преобразователи
    'typeconvertor.bmp': text_block(CONV, 1, 1, 'i→f'),
    'bytebuilder.bmp': text_block(CONV, 4, 1, 'b→B'),
    'encoderdecoder.bmp': text_block(CONV, 1, 1, 'ENC'),
    'pelco.bmp': text_block(CONV, 3, 1, 'CAM'),
    'urm04.bmp': text_block(CONV, 2, 2, 'URM'),
    'pos2speed.bmp': text_block(CONV, 1, 1, 'x→v'),
    'inertialdriver.bmp': text_block(CONV, 1, 3, 'IMU'),
    'joy2LR.bmp': text_block(CONV, 2, 2, 'L R'),
    # the microcontroller's own converters
    'pwmdetector.bmp': text_block(CONV, 1, 2, 'PWM', '→x'),
    'IntervalDetector.bmp': text_block(CONV, 1, 1, 'dt'),
    'pwm.bmp': text_block(CONV, 1, 1, 'x', '→PWM'),
    # Макро и DLL
    'macro.bmp': draw_macro,
    'plugin.bmp': draw_plugin,
    'js.bmp': draw_script,
    # Математика
    'neg.bmp': text_block(MATH, 1, 1, '-x'),
    'add.bmp': text_block(MATH, 1, 1, '+C'),
    'sum.bmp': text_block(MATH, 3, 1, 'Σ'),
    'sub.bmp': text_block(MATH, 1, 1, '-C'),
    'sub2.bmp': text_block(MATH, 2, 1, 'a-b'),
    'K.bmp': text_block(MATH, 1, 1, 'K'),
    'mul2.bmp': text_block(MATH, 2, 1, '×'),
    'div2.bmp': text_block(MATH, 2, 1, '÷'),
    'constdivider.bmp': text_block(MATH, 1, 1, 'C', 'x'),
    'abs.bmp': text_block(MATH, 1, 1, '|x|'),
    # Тригонометрия
    'sin.bmp': text_block(TRIG, 1, 1, 'sin'),
    'cos.bmp': text_block(TRIG, 1, 1, 'cos'),
    'tan.bmp': text_block(TRIG, 1, 1, 'tg'),
    'cotan.bmp': text_block(TRIG, 1, 1, 'ctg'),
    'asin.bmp': text_block(TRIG, 1, 1, 'asin'),
    'acos.bmp': text_block(TRIG, 1, 1, 'acos'),
    'atan.bmp': text_block(TRIG, 1, 1, 'atg'),
    'atan2.bmp': text_block(TRIG, 2, 1, 'atg2'),
    'length.bmp': text_block(TRIG, 2, 1, '|v|'),
    'norm.bmp': text_block(TRIG, 2, 2, 'v', '|v|'),
    'distance.bmp': draw_distance,
    'deg2rad.bmp': text_block(TRIG, 1, 1, '°→r'),
    'rad2deg.bmp': text_block(TRIG, 1, 1, 'r→°'),
    'PI2PI.bmp': text_block(TRIG, 1, 1, '±π'),
    'rot.bmp': draw_rotation,
    # Логика
    'not.bmp': text_block(LOGIC, 1, 1, '!'),
    'and.bmp': text_block(LOGIC, 1, 1, '&C'),
    'and2.bmp': text_block(LOGIC, 2, 1, '&'),
    'or.bmp': text_block(LOGIC, 1, 1, '|C'),
    'or2.bmp': text_block(LOGIC, 2, 1, '|'),
    'cmp.bmp': text_block(LOGIC, 1, 1, '>C'),
    'cmp2.bmp': text_block(LOGIC, 2, 1, 'a>b'),
    'bit.bmp': text_block(LOGIC, 1, 1, 'bit'),
    'shl.bmp': text_block(LOGIC, 1, 1, '<<'),
    'shr.bmp': text_block(LOGIC, 1, 1, '>>'),
    # Цифровые
    'rs.bmp': text_block(DIGITAL, 2, 2, 'RS'),
    'D.bmp': text_block(DIGITAL, 2, 2, 'D'),
    'register.bmp': text_block(DIGITAL, 3, 1, 'RG'),
    'counter.bmp': text_block(DIGITAL, 2, 1, 'CT'),
    'pulscounter.bmp': text_block(DIGITAL, 2, 1, 'CT', 'AB'),
    'demux.bmp': text_block(DIGITAL, 2, 3, 'DMX'),
    'mux.bmp': text_block(DIGITAL, 3, 1, 'MUX'),
    'coder.bmp': text_block(DIGITAL, 3, 1, 'CD'),
    # ТАУ
    'integral.bmp': draw_integral,
    'diff.bmp': draw_differentiator,
    'inertial.bmp': draw_aperiodic,
    'vibro.bmp': draw_oscillating,
    'limiter.bmp': draw_limiter,
    'integralwithreload.bmp': draw_integral_reload,
    # Навигация
    'navdrv.bmp': text_block(NAV, 1, 3, 'GPS'),
    'wgs2xyz.bmp': text_block(NAV, 3, 3, 'WGS', '→XY'),
    'pz2xyz.bmp': text_block(NAV, 3, 3, 'PZ', '→XY'),
    'xyz2wgs.bmp': text_block(NAV, 3, 3, 'XYZ', '→W'),
    'xyz2pz.bmp': text_block(NAV, 3, 3, 'XYZ', '→P'),
    'xyz2plane.bmp': text_block(NAV, 3, 3, 'XYZ', '→H'),
    'plane2xyz.bmp': text_block(NAV, 3, 3, 'XYH', '→X'),
    # Интеллект (the on-board computer's own tab)
    'scansector.bmp': text_block(NAV, 2, 1, 'STR', 'SCN'),
    'locmap.bmp': text_block(NAV, 3, 2, 'MAP'),
    'videonavigation.bmp': text_block(NAV, 3, 3, 'CAM', '→XY'),
    'roaddetector.bmp': draw_road_detector,
    'stripdetector.bmp': draw_strip_detector,
    'fuzzy.bmp': draw_fuzzy,
    # Отладка (the debugging blocks of the units' catalogues)
    'out.bmp': draw_monitor,
    'avrploticon.bmp': draw_plot_icon,
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, draw in sorted(PICTURES.items()):
        p = IndexedPicture(SIZE, BG)
        draw(p)
        write_indexed_bmp(os.path.join(OUT, name), p.px, PALETTE)


if __name__ == '__main__':
    main()
