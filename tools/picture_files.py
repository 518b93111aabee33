"""Shared pieces of the picture scripts: an indexed picture to draw on, and
writers for 8-bit indexed BMP files and for icon files of 32-bit images.
"""
import math
import struct


class IndexedPicture:
    """A square picture of palette indices, background filled."""

    def __init__(self, size, background):
        self.size = size
        self.px = [[background] * size for _ in range(size)]

    def dot(self, x, y, c):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.px[y][x] = c

    def line(self, x0, y0, x1, y1, c, w=1):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            x = round(x0 + (x1 - x0) * i / n)
            y = round(y0 + (y1 - y0) * i / n)
            for dx in range(-(w // 2), w - w // 2):
                for dy in range(-(w // 2), w - w // 2):
                    self.dot(x + dx, y + dy, c)

    def box(self, x0, y0, x1, y1, c, fill=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                if x in (x0, x1) or y in (y0, y1):
                    self.dot(x, y, c)
                elif fill is not None:
                    self.dot(x, y, fill)

    def circle(self, cx, cy, r, c, fill=None):
        for y in range(self.size):
            for x in range(self.size):
                d = math.hypot(x - cx, y - cy)
                if abs(d - r) < 0.6:
                    self.dot(x, y, c)
                elif fill is not None and d < r:
                    self.dot(x, y, fill)


def write_indexed_bmp(path, px, palette, important=None):
    """Writes rows of palette indices (top row first) as an 8-bit BMP;
    important is the header's count of important colours (all by default)."""
    height = len(px)
    width = len(px[0])
    stride = (width + 3) // 4 * 4
    rows = b''.join(bytes(px[y]) + b'\0' * (stride - width) for y in range(height - 1, -1, -1))
    colours = len(palette)
    header_size = 14 + 40 + 4 * colours
    file_header = struct.pack('<2sIHHI', b'BM', header_size + len(rows), 0, 0, header_size)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 8, 0, len(rows), 2835, 2835, colours,
                       colours if important is None else important)
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in palette)
    with open(path, 'wb') as f:
        f.write(file_header + info + table + rows)


def rgb_bmp_bytes(rows):
    """Rows of (r, g, b) (top row first) as the bytes of a 24-bit BMP file."""
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) // 4 * 4
    pixels = b''
    for row in reversed(rows):  # bottom-up
        line = b''.join(bytes((b, g, r)) for (r, g, b) in row)
        pixels += line + b'\0' * (stride - len(line))
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    file_header = struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return file_header + info + pixels


def write_icon(path, sizes, images):
    """Writes an icon file of 32-bit images, one per size (its DIB bytes)."""
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for n, image in zip(sizes, images):
        data += struct.pack('<BBBBHHII', n, n, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    for image in images:
        data += image
    with open(path, 'wb') as f:
        f.write(data)
