"""Shared pieces of the picture scripts: an indexed and an RGB picture to
draw on, a small pixel font for their labels, and writers for 8-bit indexed
and 24-bit BMP files, PNG files, JPEG files (through ImageMagick) and icon
files of 32-bit images.
"""
import math
import struct
import subprocess
import zlib


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

    def text(self, x, y, label, c):
        draw_text(self.dot, x, y, label, c)


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


# A 5 x 7 pixel font for the short labels of the pictures ('#' ink). Glyphs
# narrower than 5 columns take less room.
FONT = {
    '0': ['.###.', '#...#', '#..##', '#.#.#', '##..#', '#...#', '.###.'],
    '1': ['..#..', '.##..', '..#..', '..#..', '..#..', '..#..', '.###.'],
    '2': ['.###.', '#...#', '....#', '...#.', '..#..', '.#...', '#####'],
    '3': ['####.', '....#', '....#', '.###.', '....#', '....#', '####.'],
    '4': ['...#.', '..##.', '.#.#.', '#..#.', '#####', '...#.', '...#.'],
    '5': ['#####', '#....', '####.', '....#', '....#', '#...#', '.###.'],
    '6': ['..##.', '.#...', '#....', '####.', '#...#', '#...#', '.###.'],
    '7': ['#####', '....#', '...#.', '..#..', '.#...', '.#...', '.#...'],
    '8': ['.###.', '#...#', '#...#', '.###.', '#...#', '#...#', '.###.'],
    '9': ['.###.', '#...#', '#...#', '.####', '....#', '...#.', '.##..'],
    'A': ['.###.', '#...#', '#...#', '#####', '#...#', '#...#', '#...#'],
    'B': ['####.', '#...#', '#...#', '####.', '#...#', '#...#', '####.'],
    'C': ['.###.', '#...#', '#....', '#....', '#....', '#...#', '.###.'],
    'D': ['####.', '#...#', '#...#', '#...#', '#...#', '#...#', '####.'],
    'E': ['#####', '#....', '#....', '####.', '#....', '#....', '#####'],
    'F': ['#####', '#....', '#....', '####.', '#....', '#....', '#....'],
    'G': ['.###.', '#...#', '#....', '#.###', '#...#', '#...#', '.####'],
    'H': ['#...#', '#...#', '#...#', '#####', '#...#', '#...#', '#...#'],
    'I': ['###', '.#.', '.#.', '.#.', '.#.', '.#.', '###'],
    'J': ['..###', '...#.', '...#.', '...#.', '...#.', '#..#.', '.##..'],
    'K': ['#...#', '#..#.', '#.#..', '##...', '#.#..', '#..#.', '#...#'],
    'L': ['#....', '#....', '#....', '#....', '#....', '#....', '#####'],
    'M': ['#...#', '##.##', '#.#.#', '#.#.#', '#...#', '#...#', '#...#'],
    'N': ['#...#', '#...#', '##..#', '#.#.#', '#..##', '#...#', '#...#'],
    'O': ['.###.', '#...#', '#...#', '#...#', '#...#', '#...#', '.###.'],
    'P': ['####.', '#...#', '#...#', '####.', '#....', '#....', '#....'],
    'R': ['####.', '#...#', '#...#', '####.', '#.#..', '#..#.', '#...#'],
    'S': ['.####', '#....', '#....', '.###.', '....#', '....#', '####.'],
    'T': ['#####', '..#..', '..#..', '..#..', '..#..', '..#..', '..#..'],
    'U': ['#...#', '#...#', '#...#', '#...#', '#...#', '#...#', '.###.'],
    'V': ['#...#', '#...#', '#...#', '#...#', '#...#', '.#.#.', '..#..'],
    'W': ['#...#', '#...#', '#...#', '#.#.#', '#.#.#', '#.#.#', '.#.#.'],
    'X': ['#...#', '#...#', '.#.#.', '..#..', '.#.#.', '#...#', '#...#'],
    'Y': ['#...#', '#...#', '.#.#.', '..#..', '..#..', '..#..', '..#..'],
    'Z': ['#####', '....#', '...#.', '..#..', '.#...', '#....', '#####'],
    'a': ['.....', '.....', '.###.', '....#', '.####', '#...#', '.####'],
    'b': ['#....', '#....', '####.', '#...#', '#...#', '#...#', '####.'],
    'c': ['....', '....', '.###', '#...', '#...', '#...', '.###'],
    'd': ['....#', '....#', '.####', '#...#', '#...#', '#...#', '.####'],
    'e': ['.....', '.....', '.###.', '#...#', '#####', '#....', '.###.'],
    'f': ['..##', '.#..', '####', '.#..', '.#..', '.#..', '.#..'],
    'g': ['.....', '.####', '#...#', '#...#', '.####', '....#', '.###.'],
    'h': ['#....', '#....', '####.', '#...#', '#...#', '#...#', '#...#'],
    'i': ['.#.', '...', '##.', '.#.', '.#.', '.#.', '###'],
    'k': ['#...', '#...', '#..#', '#.#.', '##..', '#.#.', '#..#'],
    'l': ['##.', '.#.', '.#.', '.#.', '.#.', '.#.', '###'],
    'm': ['.....', '.....', '##.#.', '#.#.#', '#.#.#', '#.#.#', '#.#.#'],
    'n': ['.....', '.....', '####.', '#...#', '#...#', '#...#', '#...#'],
    'o': ['.....', '.....', '.###.', '#...#', '#...#', '#...#', '.###.'],
    'p': ['.....', '####.', '#...#', '#...#', '####.', '#....', '#....'],
    'r': ['....', '....', '#.##', '##..', '#...', '#...', '#...'],
    's': ['....', '....', '.###', '#...', '.##.', '...#', '###.'],
    't': ['.#..', '.#..', '####', '.#..', '.#..', '.#..', '..##'],
    'u': ['.....', '.....', '#...#', '#...#', '#...#', '#...#', '.####'],
    'v': ['.....', '.....', '#...#', '#...#', '#...#', '.#.#.', '..#..'],
    'w': ['.....', '.....', '#...#', '#...#', '#.#.#', '#.#.#', '.#.#.'],
    'x': ['.....', '.....', '#...#', '.#.#.', '..#..', '.#.#.', '#...#'],
    'y': ['.....', '#...#', '#...#', '#...#', '.####', '....#', '.###.'],
    '+': ['.....', '..#..', '..#..', '#####', '..#..', '..#..', '.....'],
    '-': ['....', '....', '....', '####', '....', '....', '....'],
    '=': ['.....', '.....', '#####', '.....', '#####', '.....', '.....'],
    '<': ['...#', '..#.', '.#..', '#...', '.#..', '..#.', '...#'],
    '>': ['#...', '.#..', '..#.', '...#', '..#.', '.#..', '#...'],
    '/': ['....#', '....#', '...#.', '..#..', '.#...', '#....', '#....'],
    '|': ['#', '#', '#', '#', '#', '#', '#'],
    '&': ['.##..', '#..#.', '#.#..', '.#...', '#.#.#', '#..#.', '.##.#'],
    '!': ['#', '#', '#', '#', '#', '.', '#'],
    '.': ['.', '.', '.', '.', '.', '.', '#'],
    ':': ['.', '#', '.', '.', '.', '#', '.'],
    '*': ['.....', '#...#', '.#.#.', '..#..', '.#.#.', '#...#', '.....'],
    '^': ['..#..', '.#.#.', '#...#', '.....', '.....', '.....', '.....'],
    '~': ['.....', '.....', '.#...', '#.#.#', '...#.', '.....', '.....'],
    '°': ['.#.', '#.#', '.#.', '...', '...', '...', '...'],
    '±': ['..#..', '..#..', '#####', '..#..', '..#..', '.....', '#####'],
    'π': ['.....', '.....', '#####', '.#.#.', '.#.#.', '.#.#.', '.#..#'],
    'Σ': ['#####', '#....', '.#...', '..#..', '.#...', '#....', '#####'],
    '∫': ['..##', '.#..', '.#..', '.#..', '.#..', '.#..', '##..'],
    '√': ['...###', '...#..', '...#..', '#..#..', '.#.#..', '.#.#..', '..#...'],
    '→': ['.....', '...#.', '....#', '#####', '....#', '...#.', '.....'],
    '×': ['.....', '#...#', '.#.#.', '..#..', '.#.#.', '#...#', '.....'],
    '÷': ['.....', '..#..', '.....', '#####', '.....', '..#..', '.....'],
    ' ': ['..', '..', '..', '..', '..', '..', '..'],
}


def text_width(text):
    """Width in pixels of a label (one blank column between glyphs)."""
    return sum(len(FONT[c][0]) for c in text) + max(len(text) - 1, 0)


def draw_text(dot, x, y, text, colour):
    """Draws a label with its top-left corner at (x, y) through dot(x, y, c)."""
    for c in text:
        glyph = FONT[c]
        for row, line in enumerate(glyph):
            for col, ink in enumerate(line):
                if ink == '#':
                    dot(x + col, y + row, colour)
        x += len(glyph[0]) + 1


class RgbPicture:
    """A picture of (r, g, b) or (r, g, b, a) pixels, background filled."""

    def __init__(self, width, height, background):
        self.width, self.height = width, height
        self.px = [[background] * width for _ in range(height)]

    def dot(self, x, y, c):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = c

    def fill(self, x0, y0, x1, y1, c):
        """Fills the rectangle of both corners inclusive."""
        for y in range(max(y0, 0), min(y1, self.height - 1) + 1):
            for x in range(max(x0, 0), min(x1, self.width - 1) + 1):
                self.px[y][x] = c

    def box(self, x0, y0, x1, y1, c, fill=None):
        if fill is not None:
            self.fill(x0, y0, x1, y1, fill)
        self.fill(x0, y0, x1, y0, c)
        self.fill(x0, y1, x1, y1, c)
        self.fill(x0, y0, x0, y1, c)
        self.fill(x1, y0, x1, y1, c)

    def line(self, x0, y0, x1, y1, c, w=1):
        n = max(abs(x1 - x0), abs(y1 - y0), 1)
        for i in range(n + 1):
            x = round(x0 + (x1 - x0) * i / n)
            y = round(y0 + (y1 - y0) * i / n)
            for dx in range(-(w // 2), w - w // 2):
                for dy in range(-(w // 2), w - w // 2):
                    self.dot(x + dx, y + dy, c)

    def circle(self, cx, cy, r, c, fill=None):
        for y in range(int(cy - r - 1), int(cy + r + 2)):
            for x in range(int(cx - r - 1), int(cx + r + 2)):
                d = math.hypot(x - cx, y - cy)
                if abs(d - r) < 0.6:
                    self.dot(x, y, c)
                elif fill is not None and d < r:
                    self.dot(x, y, fill)

    def text(self, x, y, label, c):
        draw_text(self.dot, x, y, label, c)


def png_bytes(rows):
    """Rows of (r, g, b) or (r, g, b, a) (top row first) as the bytes of a
    PNG file, 8 bits a channel, without filters."""
    alpha = len(rows[0][0]) == 4
    raw = b''.join(b'\0' + b''.join(bytes(p) for p in row) for row in rows)

    def chunk(tag, data):
        body = tag + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack('>IIBBBBB', len(rows[0]), len(rows), 8, 6 if alpha else 2, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) + chunk(b'IDAT', zlib.compress(raw, 9)) +
            chunk(b'IEND', b''))


def write_png(path, rows):
    with open(path, 'wb') as f:
        f.write(png_bytes(rows))


def write_jpeg(path, rows, quality=95):
    """Writes rows of (r, g, b) as a JPEG file through ImageMagick's convert
    (tools/deps.sh installs it), from a BMP handed over on its input."""
    subprocess.run(['convert', 'bmp:-', '-quality', str(quality), '-strip', 'jpg:' + path],
                   input=rgb_bmp_bytes(rows), check=True)
