#!/usr/bin/env python3
"""Draws Velkboard's two icons and writes them as .ico files (16, 32 and 48
pixels, 32-bit colour with alpha) into resources/velkboard/:

  app.ico       the program: a green circuit board with a chip and traces
  document.ico  a scheme document: a sheet with a folded corner and a small
                circuit (a resistor between two wires)

Shapes are drawn in a 0..1 square and sampled 4 x 4 times per pixel, so the
edges are smooth at every size. Run it again after changing a shape:
  python3 tools/make_velkboard_icons.py
"""
import os
import struct

from picture_files import write_icon

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, '..', 'resources', 'velkboard')
SIZES = (16, 32, 48)
SAMPLES = 4


def inside_rect(x, y, x0, y0, x1, y1, radius=0.0):
    if x < x0 or x > x1 or y < y0 or y > y1:
        return False
    # Rounded corners: outside the quarter circles is outside the shape.
    cx = min(max(x, x0 + radius), x1 - radius)
    cy = min(max(y, y0 + radius), y1 - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2 + 1e-12


def near_segment(x, y, ax, ay, bx, by, half_width):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    px, py = ax + t * dx, ay + t * dy
    return (x - px) ** 2 + (y - py) ** 2 <= half_width ** 2


def inside_circle(x, y, cx, cy, r):
    return (x - cx) ** 2 + (y - cy) ** 2 <= r * r


# Each picture is a list of layers, painted in order: (test, RGBA colour).
def app_layers():
    board = (0x1E, 0x7A, 0x3C, 255)
    edge = (0x0E, 0x4A, 0x22, 255)
    copper = (0xE8, 0xB4, 0x4A, 255)
    chip = (0x26, 0x26, 0x2E, 255)
    pin = (0xC8, 0xC8, 0xD0, 255)
    layers = [
        (lambda x, y: inside_rect(x, y, 0.04, 0.04, 0.96, 0.96, 0.14), edge),
        (lambda x, y: inside_rect(x, y, 0.09, 0.09, 0.91, 0.91, 0.10), board),
    ]
    traces = [
        (0.16, 0.22, 0.34, 0.22), (0.16, 0.22, 0.16, 0.50),
        (0.66, 0.78, 0.84, 0.78), (0.84, 0.78, 0.84, 0.50),
        (0.50, 0.14, 0.50, 0.30), (0.50, 0.70, 0.50, 0.86),
        (0.16, 0.78, 0.34, 0.78), (0.84, 0.22, 0.66, 0.22),
    ]
    for (ax, ay, bx, by) in traces:
        layers.append((lambda x, y, a=(ax, ay, bx, by): near_segment(x, y, *a, 0.035), copper))
    for (cx, cy) in ((0.16, 0.50), (0.84, 0.50), (0.50, 0.14), (0.50, 0.86),
                     (0.16, 0.78), (0.84, 0.22)):
        layers.append((lambda x, y, c=(cx, cy): inside_circle(x, y, c[0], c[1], 0.07), copper))
    # The chip with three legs a side.
    for i in range(3):
        yy = 0.38 + i * 0.12
        layers.append((lambda x, y, yy=yy: inside_rect(x, y, 0.27, yy - 0.03, 0.73, yy + 0.03), pin))
    layers.append((lambda x, y: inside_rect(x, y, 0.33, 0.30, 0.67, 0.70, 0.04), chip))
    layers.append((lambda x, y: inside_circle(x, y, 0.40, 0.37, 0.03), pin))
    return layers


def document_layers():
    paper = (0xFF, 0xFF, 0xFF, 255)
    outline = (0x50, 0x5A, 0x6A, 255)
    fold = (0xC8, 0xD0, 0xDC, 255)
    wire = (0x1E, 0x50, 0xB4, 255)
    part = (0xC0, 0x30, 0x28, 255)

    # The folded corner: the sheet's top right triangle above the line
    # from (0.62, 0.04) to (0.86, 0.28) is cut away; the triangle under that
    # line, inside the corner square, is the fold.
    def cut(x, y, inset=0.0):
        return (x + inset - 0.62) > (y - inset - 0.04)

    def corner(x, y):
        return 0.62 <= x <= 0.86 and 0.04 <= y <= 0.28 and not cut(x, y)

    layers = [
        (lambda x, y: inside_rect(x, y, 0.14, 0.04, 0.86, 0.96) and not cut(x, y), outline),
        (lambda x, y: inside_rect(x, y, 0.19, 0.09, 0.81, 0.91) and not cut(x, y, 0.05), paper),
        (lambda x, y: corner(x, y), fold),
        (lambda x, y: near_segment(x, y, 0.62, 0.04, 0.86, 0.28, 0.025), outline),
        (lambda x, y: near_segment(x, y, 0.62, 0.04, 0.62, 0.28, 0.02), outline),
        (lambda x, y: near_segment(x, y, 0.62, 0.28, 0.86, 0.28, 0.02), outline),
        # A resistor between two wires, and a ground line under it.
        (lambda x, y: near_segment(x, y, 0.24, 0.58, 0.38, 0.58, 0.03), wire),
        (lambda x, y: near_segment(x, y, 0.62, 0.58, 0.76, 0.58, 0.03), wire),
        (lambda x, y: inside_rect(x, y, 0.37, 0.50, 0.63, 0.66) and
         not inside_rect(x, y, 0.41, 0.54, 0.59, 0.62), part),
        (lambda x, y: near_segment(x, y, 0.76, 0.58, 0.76, 0.80, 0.03), wire),
        (lambda x, y: near_segment(x, y, 0.66, 0.80, 0.86 - 0.05, 0.80, 0.03), wire),
        (lambda x, y: near_segment(x, y, 0.24, 0.40, 0.24, 0.58, 0.03), wire),
        (lambda x, y: inside_circle(x, y, 0.24, 0.38, 0.05), part),
    ]
    return layers


def render(layers, size):
    """Rows of (r, g, b, a), top row first."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = (px + (sx + 0.5) / SAMPLES) / size
                    y = (py + (sy + 0.5) / SAMPLES) / size
                    colour = None
                    for test, rgba in layers:
                        if test(x, y):
                            colour = rgba
                    if colour:
                        a = colour[3] / 255.0
                        for i in range(3):
                            acc[i] += colour[i] * a
                        acc[3] += a
            n = SAMPLES * SAMPLES
            alpha = acc[3] / n
            if alpha > 0:
                rgb = [int(round(acc[i] / acc[3])) for i in range(3)]
            else:
                rgb = [0, 0, 0]
            row.append((rgb[0], rgb[1], rgb[2], int(round(alpha * 255))))
        rows.append(row)
    return rows


def dib(rows):
    """A 32-bit icon image: header (double height), BGRA bottom-up, AND mask."""
    size = len(rows)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    pixels = b''
    for row in reversed(rows):
        for (r, g, b, a) in row:
            pixels += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(bits)
    return header + pixels + mask


def write_ico(path, layers):
    images = [dib(render(layers, s)) for s in SIZES]
    write_icon(path, SIZES, images)

def main():
    os.makedirs(OUT, exist_ok=True)
    write_ico(os.path.join(OUT, 'app.ico'), app_layers())
    write_ico(os.path.join(OUT, 'document.ico'), document_layers())


if __name__ == '__main__':
    main()
