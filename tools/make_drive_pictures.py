#!/usr/bin/env python3
"""Draws the pictures of the drives: the scheme symbols of the DC motor
("motor.png"), the servo ("servo.jpg"), the linear actuator ("actuator.png")
and the combustion engine with and without key start ("ICE.jpg",
"ICE2.jpg") into data/schemeIcons, and the pictures of the sample rows of
the drive tables into data/VelkDB/images.

Plain Python draws every picture into an RGB pixel array and writes it as a
PNG; the JPEG pictures are converted from a PNG by ImageMagick's convert
(tools/deps.sh installs it). Run it again after changing a drawing.
"""
import os
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
ICONS = os.path.join(HERE, "..", "data", "schemeIcons")
IMAGES = os.path.join(HERE, "..", "data", "VelkDB", "images")

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


class Picture:
    def __init__(self, width, height, background=WHITE):
        self.width, self.height = width, height
        self.pixels = [[background] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def rect(self, x0, y0, x1, y1, colour):
        """Fills [x0, x1) x [y0, y1)."""
        for y in range(max(0, y0), min(self.height, y1)):
            for x in range(max(0, x0), min(self.width, x1)):
                self.pixels[y][x] = colour

    def frame(self, x0, y0, x1, y1, colour, thickness=1):
        self.rect(x0, y0, x1, y0 + thickness, colour)
        self.rect(x0, y1 - thickness, x1, y1, colour)
        self.rect(x0, y0, x0 + thickness, y1, colour)
        self.rect(x1 - thickness, y0, x1, y1, colour)

    def box(self, x0, y0, x1, y1, fill, outline=BLACK):
        self.rect(x0, y0, x1, y1, fill)
        self.frame(x0, y0, x1, y1, outline)

    def disc(self, cx, cy, r, colour):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r:
                    self.put(x, y, colour)

    def ring(self, cx, cy, r, colour):
        for y in range(cy - r - 1, cy + r + 2):
            for x in range(cx - r - 1, cx + r + 2):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if abs(d - r) < 0.7:
                    self.put(x, y, colour)

    def line(self, x0, y0, x1, y1, colour, width=1):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            x = round(x0 + (x1 - x0) * i / n)
            y = round(y0 + (y1 - y0) * i / n)
            for dx in range(width):
                for dy in range(width):
                    self.put(x + dx - width // 2, y + dy - width // 2, colour)

    def png_bytes(self):
        raw = b"".join(b"\x00" + b"".join(bytes(c) for c in row) for row in self.pixels)

        def chunk(tag, data):
            body = tag + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

        png = b"\x89PNG\r\n\x1a\n"
        png += chunk(b"IHDR", struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9))
        png += chunk(b"IEND", b"")
        return png

    def save(self, folder, name):
        path = os.path.join(folder, name)
        if name.lower().endswith(".png"):
            with open(path, "wb") as f:
                f.write(self.png_bytes())
            return
        with tempfile.TemporaryDirectory() as temp:
            source = os.path.join(temp, "picture.png")
            with open(source, "wb") as f:
                f.write(self.png_bytes())
            subprocess.run(["convert", source, "-strip", "-sampling-factor", "1x1", "-quality", "95", path],
                           check=True)


# ------------------------------------------------------------ scheme symbols
#
# Each symbol is drawn at the block's own size; its leads end where the
# component's pins stand.

CAN = (150, 155, 165)
GEARBOX = (185, 150, 60)
SHAFT = (210, 210, 210)
DARK = (60, 60, 65)


def motor(folder, name, width=96, height=48, can=CAN, gearbox=GEARBOX):
    """The DC motor: rotor leads on the left (11 and 38 px down), the can,
    the gearbox and the output shaft; the encoder ring along the top edge
    and the field-winding terminals on the bottom edge."""
    p = Picture(width, height)
    p.rect(0, 10, 16, 12, BLACK)
    p.rect(0, 37, 16, 39, BLACK)
    p.box(14, 6, 62, 42, can)
    for x in (22, 30, 38, 46, 54):
        p.rect(x, 7, x + 2, 41, (135, 140, 150))
    p.box(61, 10, 82, 38, gearbox)
    p.box(81, 21, 96, 28, SHAFT)
    p.box(18, 1, 76, 6, DARK)
    p.rect(38, 42, 43, 48, BLACK)
    p.rect(58, 42, 63, 48, BLACK)
    p.save(folder, name)


def servo(folder, name, width=64, height=100, case=(40, 90, 200)):
    """The servo: the body with its mounting ears, the horn on top and the
    three wires to the pins on the left (56, 70 and 85 px down)."""
    p = Picture(width, height)
    p.box(10, 12, 56, 80, case)
    p.box(4, 24, 62, 32, case)
    p.disc(26, 14, 9, (235, 235, 235))
    p.ring(26, 14, 9, BLACK)
    p.rect(14, 12, 38, 16, (235, 235, 235))
    p.disc(26, 14, 2, BLACK)
    wires = [(56, (200, 30, 30)), (70, (240, 150, 20)), (85, (110, 60, 20))]
    for y, colour in wires:
        p.rect(0, y - 1, 12, y + 2, colour)
    p.rect(10, 82, 14, 88, (110, 60, 20))
    p.save(folder, name)


def actuator(folder, name, width=64, height=100, housing=(90, 95, 100)):
    """The linear actuator: the rod with its eye at the top, the housing
    and the motor box whose cable leaves at (51, 80); the component draws
    the leads from there to its pins."""
    p = Picture(width, height)
    p.box(24, 4, 35, 34, (205, 205, 210))
    p.disc(29, 6, 5, (205, 205, 210))
    p.ring(29, 6, 5, BLACK)
    p.disc(29, 6, 2, WHITE)
    p.box(14, 32, 45, 96, housing)
    p.box(40, 66, 58, 92, (40, 40, 45))
    p.disc(51, 80, 2, BLACK)
    p.save(folder, name)


def engine(folder, name, key, width=200, height=240, block=(120, 120, 125)):
    """The combustion engine: block, head, pulleys and starter; the battery
    terminals at the bottom edge (39 and 62 px from the left) and, with key
    start, the ignition-key terminal strip at the right edge (32, 19 and 8 px
    up from the bottom)."""
    p = Picture(width, height)
    p.box(30, 70, 170, 200, block)
    p.box(36, 34, 164, 70, (150, 60, 40))
    for x in (50, 80, 110, 140):
        p.box(x, 20, x + 16, 36, (90, 90, 95))
    p.disc(18, 150, 14, (70, 70, 75))
    p.ring(18, 150, 14, BLACK)
    p.disc(18, 105, 9, (70, 70, 75))
    p.ring(18, 105, 9, BLACK)
    p.line(18, 136, 18, 96, BLACK)
    p.box(60, 200, 150, 214, (50, 50, 55))
    p.box(110, 150, 160, 190, (30, 30, 35))
    # Battery terminals.
    p.rect(36, 214, 43, 240, (200, 30, 30))
    p.rect(59, 214, 66, 240, BLACK)
    if key:
        p.box(172, 200, 200, 236, (60, 60, 60))
        for up in (32, 19, 8):
            y = height - up
            p.rect(176, y - 1, 200, y + 2, (230, 200, 60))
        p.line(160, 170, 172, 218, BLACK)
    else:
        p.disc(185, 120, 10, (200, 40, 40))
        p.ring(185, 120, 10, BLACK)
        p.line(185, 130, 185, 160, BLACK, 2)
    p.save(folder, name)


# ------------------------------------------------------------ database rows


def motor_row(name, can, gearbox):
    motor(IMAGES, name, 144, 72, can, gearbox)


def main():
    missing = [tool for tool in ("convert",) if subprocess.run(["which", tool], capture_output=True).returncode]
    if missing:
        sys.exit("make_drive_pictures: ImageMagick's convert is needed (tools/deps.sh installs it)")
    os.makedirs(ICONS, exist_ok=True)
    os.makedirs(IMAGES, exist_ok=True)
    motor(ICONS, "motor.png")
    servo(ICONS, "servo.jpg")
    actuator(ICONS, "actuator.png")
    engine(ICONS, "ICE.jpg", key=True)
    engine(ICONS, "ICE2.jpg", key=False)

    motor_row("gm25.png", CAN, GEARBOX)
    motor_row("jgb37.png", (180, 180, 185), (200, 170, 80))
    motor_row("dpm30.png", (70, 110, 70), (90, 90, 90))
    actuator(IMAGES, "la12.png", 96, 150)
    actuator(IMAGES, "la24.png", 96, 150, housing=(200, 200, 205))
    engine(IMAGES, "d245.png", key=True)
    engine(IMAGES, "vaz21126.png", key=True, block=(170, 175, 185))
    engine(IMAGES, "gx200.png", key=False, block=(200, 60, 50))


if __name__ == "__main__":
    main()
