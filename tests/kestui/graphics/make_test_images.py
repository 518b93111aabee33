#!/usr/bin/env python3
"""Writes the small pictures that kestui_tests links in as resources
(tests/kestui/graphics/image_test.rc). The tests check exactly these pixels, so keep
both in step:  python3 tests/kestui/graphics/make_test_images.py
"""
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'data')


def bmp(width, height, bpp, rows, palette=()):
    """rows: top row first; each row a list of palette indices (bpp 8) or
    (r, g, b) / (r, g, b, a) tuples. Written bottom-up."""
    stride = (width * bpp + 31) // 32 * 4
    data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for px in row:
            if bpp == 8:
                line.append(px)
            elif bpp == 24:
                line += bytes((px[2], px[1], px[0]))
            else:
                line += bytes((px[2], px[1], px[0], px[3]))
        line += bytes(stride - len(line))
        data += line
    table = b''.join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack('<2sIHHI', b'BM', offset + len(data), 0, 0, offset)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bpp, 0, len(data),
                       2835, 2835, len(palette), 0)
    return header + info + table + bytes(data)


def png_rgba(width, height, rows):
    raw = b''.join(b'\x00' + b''.join(bytes(px) for px in row) for row in rows)

    def chunk(kind, body):
        return (struct.pack('>I', len(body)) + kind + body +
                struct.pack('>I', zlib.crc32(kind + body) & 0xFFFFFFFF))

    return (b'\x89PNG\r\n\x1a\n' +
            chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(raw)) + chunk(b'IEND', b''))


def main():
    os.makedirs(OUT, exist_ok=True)
    files = {
        # 101: 8-bit indexed, 4 x 3, four colours.
        'indexed8.bmp': bmp(4, 3, 8, [[0, 1, 2, 3], [3, 2, 1, 0], [1, 1, 2, 2]],
                            palette=[(255, 0, 255), (10, 20, 30), (200, 150, 100), (0, 128, 255)]),
        # 102: 24-bit, 3 x 2 (rows padded to 12 bytes).
        'rgb24.bmp': bmp(3, 2, 24, [[(255, 0, 0), (0, 255, 0), (0, 0, 255)],
                                    [(1, 2, 3), (250, 251, 252), (128, 64, 32)]]),
        # 103: 32-bit with straight alpha, 2 x 1: opaque red, half-transparent blue.
        'alpha32.bmp': bmp(2, 1, 32, [[(255, 0, 0, 255), (0, 0, 200, 128)]]),
        # 104 (RCDATA): PNG RGBA, 2 x 2.
        'rgba.png': png_rgba(2, 2, [[(255, 0, 0, 255), (0, 255, 0, 255)],
                                    [(0, 0, 255, 255), (200, 100, 50, 0)]]),
    }
    for name, data in files.items():
        with open(os.path.join(OUT, name), 'wb') as f:
            f.write(data)


if __name__ == '__main__':
    main()
