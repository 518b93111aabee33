#!/usr/bin/env python3
"""Draws the pictures of the sample component database (data/VelkDB/images):
the pictures its rows name and the card pictures of the quartz crystal and
the capacitor kinds (images/quartz.jpg, images/sys/). One row's picture
("sla12.png", the lead-acid battery) is missing on purpose: the tests show
how the browser and modelpicker treat a missing picture file.

Plain Python, no imaging library: each picture is drawn into an RGB pixel
array and written as a PNG, or as a JPEG through ImageMagick's convert
(picture_files.write_jpeg). Run it again after changing a drawing; the
output is deterministic.
"""
import os
import struct
import sys
import zlib

from picture_files import write_jpeg

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "data", "VelkDB", "images")


class Picture:
    def __init__(self, width, height, background=(255, 255, 255)):
        self.width, self.height = width, height
        self.pixels = [list(background) * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][3 * x:3 * x + 3] = colour

    def rect(self, x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.put(x, y, colour)

    def frame(self, x0, y0, x1, y1, colour, thickness=1):
        self.rect(x0, y0, x1, y0 + thickness, colour)
        self.rect(x0, y1 - thickness, x1, y1, colour)
        self.rect(x0, y0, x0 + thickness, y1, colour)
        self.rect(x1 - thickness, y0, x1, y1, colour)

    def disc(self, cx, cy, r, colour):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def save(self, name):
        raw = b"".join(b"\x00" + bytes(row) for row in self.pixels)

        def chunk(tag, data):
            body = tag + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9))
        png += chunk(b"IEND", b"")
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(png)

    def save_jpeg(self, name):
        rows = [[tuple(row[3 * x:3 * x + 3]) for x in range(self.width)] for row in self.pixels]
        path = os.path.join(OUT, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        write_jpeg(path, rows)


def battery(name, body, label, cells=1, width=160, height=80):
    p = Picture(width, height)
    p.rect(10, 15, width - 20, height - 15, body)
    p.frame(10, 15, width - 20, height - 15, (40, 40, 40), 2)
    p.rect(width - 20, height // 2 - 10, width - 10, height // 2 + 10, (150, 150, 150))
    step = (width - 40) // cells
    for i in range(1, cells):
        p.rect(10 + i * step, 15, 12 + i * step, height - 15, (40, 40, 40))
    p.rect(20, 25, 30, 35, label)
    p.save(name)


def servo(name, case, horn, width=120, height=120):
    p = Picture(width, height)
    p.rect(20, 35, width - 20, height - 20, case)
    p.frame(20, 35, width - 20, height - 20, (30, 30, 30), 2)
    p.rect(5, 55, 20, 65, case)
    p.rect(width - 20, 55, width - 5, 65, case)
    p.disc(width // 2 - 15, 35, 14, (220, 220, 220))
    p.rect(width // 2 - 45, 31, width // 2 + 15, 39, horn)
    p.save(name)


def resistor(name, body, bands, width=200, height=60):
    p = Picture(width, height)
    p.rect(0, height // 2 - 2, width, height // 2 + 2, (120, 120, 120))
    p.rect(50, 15, width - 50, height - 15, body)
    for i, colour in enumerate(bands):
        x = 65 + i * 18
        p.rect(x, 15, x + 8, height - 15, colour)
    p.save(name)


def header(name, pins, rows=1, body=(30, 30, 30), width=160, height=90):
    """A pin header seen from above: a black body with square gold pins."""
    p = Picture(width, height)
    pitch = (width - 30) // max(1, pins // rows)
    p.rect(10, 20, width - 10, 20 + 22 * rows + 8, body)
    for r in range(rows):
        for i in range(pins // rows):
            x = 20 + i * pitch
            y = 26 + r * 22
            p.rect(x, y, x + 10, y + 10, (212, 175, 55))
    p.save(name)


def housing(name, pins, body, width=160, height=90):
    """A wire-to-board housing: a light body with a latch and pin slots."""
    p = Picture(width, height)
    p.rect(15, 20, width - 15, height - 15, body)
    p.frame(15, 20, width - 15, height - 15, (60, 60, 60), 2)
    p.rect(width // 2 - 15, 10, width // 2 + 15, 20, body)
    step = (width - 50) // pins
    for i in range(pins):
        x = 30 + i * step
        p.rect(x, 40, x + step // 2, 60, (70, 70, 70))
    p.save(name)


def mini_usb(name, width=120, height=90):
    p = Picture(width, height)
    p.rect(20, 20, width - 20, height - 20, (190, 190, 200))
    p.frame(20, 20, width - 20, height - 20, (90, 90, 100), 3)
    p.rect(35, 35, width - 35, height - 40, (40, 40, 40))
    p.rect(45, 45, width - 45, height - 50, (250, 250, 250))
    p.save(name)


def quartz(name, size=200):
    """A crystal in its metal can, leads below."""
    p = Picture(size, size)
    p.rect(50, 40, size - 50, 130, (185, 185, 190))
    p.frame(50, 40, size - 50, 130, (110, 110, 115), 3)
    p.rect(60, 50, size - 60, 60, (225, 225, 230))
    p.rect(75, 130, 81, 185, (150, 150, 150))
    p.rect(size - 81, 130, size - 75, 185, (150, 150, 150))
    p.save_jpeg(name)


def ceramic(name, size=200):
    """A ceramic disc capacitor, blue, two leads below."""
    p = Picture(size, size)
    p.disc(size // 2, 80, 55, (60, 90, 200))
    p.rect(75, 130, 81, 190, (150, 150, 150))
    p.rect(size - 81, 130, size - 75, 190, (150, 150, 150))
    p.save_jpeg(name)


def electrolytic(name, size=200):
    """An electrolytic can with its minus stripe."""
    p = Picture(size, size)
    p.rect(60, 20, size - 60, 150, (40, 40, 120))
    p.rect(size - 85, 20, size - 70, 150, (200, 200, 210))
    p.rect(80, 150, 86, 190, (150, 150, 150))
    p.rect(size - 86, 150, size - 80, 190, (150, 150, 150))
    p.save_jpeg(name)


def chip_capacitor(name, size=200):
    """A surface-mount 0805 chip: a brown body between tinned ends."""
    p = Picture(size, size)
    p.rect(40, 70, size - 40, 130, (170, 120, 70))
    p.rect(40, 70, 70, 130, (200, 200, 205))
    p.rect(size - 70, 70, size - 40, 130, (200, 200, 205))
    p.save_jpeg(name)


def main():
    os.makedirs(OUT, exist_ok=True)
    battery("lp103450.png", (60, 110, 200), (250, 250, 250))
    battery("nimh_aa.png", (40, 160, 70), (250, 250, 250), cells=4, width=200, height=100)
    servo("sg90.png", (40, 90, 200), (250, 250, 250))
    servo("mg996r.png", (30, 30, 30), (200, 200, 200), width=140, height=120)
    servo("ds3218.png", (200, 40, 40), (240, 240, 240), width=60, height=120)
    resistor("mlt025.png", (210, 180, 140), [(255, 0, 0), (255, 0, 0), (255, 128, 0), (212, 175, 55)])
    resistor("c2_33.png", (90, 160, 220), [(139, 69, 19), (0, 0, 0), (255, 0, 0), (139, 69, 19)])
    header("pls6.png", 6)
    header("pls20.png", 20, rows=2, width=200, height=90)
    housing("cwf4.png", 4, (235, 235, 225))
    housing("minifit4.png", 4, (245, 245, 245), width=120)
    mini_usb("miniusb.png")
    quartz("quartz.jpg")
    ceramic("sys/DOC000207936.jpg")
    electrolytic("sys/electrolytic.jpg")
    chip_capacitor("sys/cap0805.jpg")
    return 0


if __name__ == "__main__":
    sys.exit(main())
