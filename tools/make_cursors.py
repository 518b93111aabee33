#!/usr/bin/env python3
"""Draws the Kest UI framework's own cursors and writes them as monochrome
32 x 32 .cur files into resources/cursors/.

Every cursor is a white shape with a one-pixel black outline (the outline is
computed from the shape), like the system's own cursors. Run it again after
changing a shape:  python3 tools/make_cursors.py
"""
import os
import struct

SIZE = 32
HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'cursors')


class Canvas:
    def __init__(self):
        self.fill = [[False] * SIZE for _ in range(SIZE)]
        self.ink = [[False] * SIZE for _ in range(SIZE)]  # black inside the shape

    def put(self, x, y):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            self.fill[y][x] = True

    def rect(self, x0, y0, x1, y1):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.put(x, y)

    def art(self, x0, y0, rows):
        """'o' white, 'X' black inside the shape, anything else left alone."""
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch in 'oX':
                    self.put(x0 + dx, y0 + dy)
                if ch == 'X' and 0 <= x0 + dx < SIZE and 0 <= y0 + dy < SIZE:
                    self.ink[y0 + dy][x0 + dx] = True

    def pixels(self):
        """Rows of 'w' white, 'b' black, ' ' transparent."""
        out = []
        for y in range(SIZE):
            row = ''
            for x in range(SIZE):
                if self.fill[y][x]:
                    row += 'b' if self.ink[y][x] else 'w'
                elif any(self.fill[y + dy][x + dx]
                         for dy in (-1, 0, 1) for dx in (-1, 0, 1)
                         if 0 <= y + dy < SIZE and 0 <= x + dx < SIZE):
                    row += 'b'
                else:
                    row += ' '
            out.append(row)
        return out


def arrow_head_up(c, cx, tip, depth):
    # A filled triangle pointing up: row k (0 = tip) is 2k + 1 pixels wide.
    for k in range(depth):
        c.rect(cx - k, tip + k, cx + k, tip + k)


def arrow_head_down(c, cx, tip, depth):
    for k in range(depth):
        c.rect(cx - k, tip - k, cx + k, tip - k)


def arrow_head_left(c, tip, cy, depth):
    for k in range(depth):
        c.rect(tip + k, cy - k, tip + k, cy + k)


def arrow_head_right(c, tip, cy, depth):
    for k in range(depth):
        c.rect(tip - k, cy - k, tip - k, cy + k)


def split_up_down():
    # A bar of two lines with arrows up and down: drag a horizontal splitter.
    c = Canvas()
    cx, cy = 15, 15
    arrow_head_up(c, cx, cy - 10, 5)
    c.rect(cx - 1, cy - 6, cx + 1, cy - 3)
    c.rect(cx - 9, cy - 2, cx + 9, cy - 2)
    c.rect(cx - 9, cy + 2, cx + 9, cy + 2)
    c.rect(cx - 1, cy + 3, cx + 1, cy + 6)
    arrow_head_down(c, cx, cy + 10, 5)
    return c, (cx, cy)


def split_left_right():
    c = Canvas()
    cx, cy = 15, 15
    arrow_head_left(c, cx - 10, cy, 5)
    c.rect(cx - 6, cy - 1, cx - 3, cy + 1)
    c.rect(cx - 2, cy - 9, cx - 2, cy + 9)
    c.rect(cx + 2, cy - 9, cx + 2, cy + 9)
    c.rect(cx + 3, cy - 1, cx + 6, cy + 1)
    arrow_head_right(c, cx + 10, cy, 5)
    return c, (cx, cy)


def move():
    # Four arrows from the centre: move the selection.
    c = Canvas()
    cx, cy = 15, 15
    c.rect(cx - 1, cy - 8, cx + 1, cy + 8)
    c.rect(cx - 8, cy - 1, cx + 8, cy + 1)
    arrow_head_up(c, cx, cy - 12, 5)
    arrow_head_down(c, cx, cy + 12, 5)
    arrow_head_left(c, cx - 12, cy, 5)
    arrow_head_right(c, cx + 12, cy, 5)
    return c, (cx, cy)


HAND = [
    '     oo          ',
    '    oooo         ',
    '    oooo         ',
    '    oooo         ',
    '    oooo         ',
    '    ooooooo      ',
    '    oooooooooo   ',
    '    ooooXooXoooo ',
    ' ooooooooXooXooXo',
    'oooooooooXooXooXo',
    'oooooooooXooXooXo',
    ' ooooooooooooooXo',
    '  oooooooooooooooo',
    '  ooooooooooooooo',
    '   oooooooooooooo',
    '   ooooooooooooo ',
    '    oooooooooooo ',
    '    ooooooooooo  ',
    '     oooooooooo  ',
    '     oooooooooo  ',
]


def hand():
    # A pointing hand: a link.
    c = Canvas()
    c.art(6, 1, HAND)
    return c, (11, 1)


ARROW = [
    'o',
    'oo',
    'ooo',
    'oooo',
    'ooooo',
    'oooooo',
    'ooooooo',
    'oooooooo',
    'ooooooooo',
    'ooooo',
    'oo oo',
    'o   oo',
    '    oo',
    '     oo',
    '     oo',
]


def arrow_with(badge):
    c = Canvas()
    c.art(1, 1, ARROW)
    c.art(12, 20 - len(badge) // 2, badge)
    return c, (1, 1)


# Scissors: the pointer cuts the link under it.
SCISSORS = [
    'oo       oo',
    ' oo     oo ',
    '  oo   oo  ',
    '   oo oo   ',
    '    ooo    ',
    '   oo oo   ',
    ' oooo oooo ',
    'oXXoo ooXXo',
    'oXXo   oXXo',
    ' oo     oo ',
]

# A wire with a gap: the link was cut.
BROKEN = [
    'ooooo    ooooo',
    'ooooo    ooooo',
    'ooooo    ooooo',
]


CURSORS = [
    ('move.cur', move),
    ('split_ns.cur', split_up_down),
    ('split_we.cur', split_left_right),
    ('hand.cur', hand),
    ('cut_link.cur', lambda: arrow_with(SCISSORS)),
    ('broken_link.cur', lambda: arrow_with(BROKEN)),
]


def cur_bytes(canvas, hotspot):
    rows = canvas.pixels()
    stride = SIZE // 8  # 1 bit a pixel; 32 pixels are 4 bytes, already aligned
    xor_bits = bytearray()
    and_bits = bytearray()
    for row in reversed(rows):  # bottom-up
        xb = [0] * stride
        ab = [0] * stride
        for x, ch in enumerate(row):
            bit = 0x80 >> (x % 8)
            if ch == ' ':
                ab[x // 8] |= bit
            elif ch == 'w':
                xb[x // 8] |= bit
        xor_bits += bytes(xb)
        and_bits += bytes(ab)
    header = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 1, 0,
                         len(xor_bits) + len(and_bits), 0, 0, 2, 0)
    colours = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + colours + bytes(xor_bits) + bytes(and_bits)
    directory = struct.pack('<HHH', 0, 2, 1)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 2, 0, hotspot[0], hotspot[1],
                        len(image), 6 + 16)
    return directory + entry + image


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, draw in CURSORS:
        canvas, hotspot = draw()
        with open(os.path.join(OUT, name), 'wb') as f:
            f.write(cur_bytes(canvas, hotspot))
        print(name)
        for row in canvas.pixels():
            print('  |' + row.replace('w', 'o').replace('b', '#') + '|')


if __name__ == '__main__':
    main()
