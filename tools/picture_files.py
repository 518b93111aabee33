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
def _jpeg_huffman(symbols, length):
    """A Huffman table giving every symbol a code of one length (canonical
    order; the all-ones code is never used): the DHT counts, the symbols and
    a {symbol: (code, length)} map."""
    assert len(symbols) < (1 << length)
    counts = [0] * 16
    counts[length - 1] = len(symbols)
    codes = {s: (i, length) for i, s in enumerate(symbols)}
    return counts, symbols, codes


def _jpeg_magnitude(v):
    """The size category of a coefficient and its bits (ones' complement for
    negative values)."""
    n = abs(v).bit_length()
    bits = v if v >= 0 else v + (1 << n) - 1
    return n, bits


_JPEG_ZIGZAG = [0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5, 12, 19, 26, 33, 40, 48, 41, 34,
                27, 20, 13, 6, 7, 14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44,
                51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63]


def write_rgb_jpeg(path, rows, quantizer=4):
    """Writes rows of (r, g, b) (top row first) as a baseline JPEG file:
    YCbCr without subsampling, every coefficient divided by quantizer, and
    Huffman tables of equal-length codes (small pictures need no more)."""
    height = len(rows)
    width = len(rows[0])
    planes = [[[0.0] * width for _ in range(height)] for _ in range(3)]
    for y in range(height):
        for x in range(width):
            r, g, b = rows[y][x]
            planes[0][y][x] = 0.299 * r + 0.587 * g + 0.114 * b - 128
            planes[1][y][x] = -0.168736 * r - 0.331264 * g + 0.5 * b
            planes[2][y][x] = 0.5 * r - 0.418688 * g - 0.081312 * b
    cos = [[math.cos((2 * x + 1) * u * math.pi / 16) for x in range(8)] for u in range(8)]
    scale = [math.sqrt(0.5) if u == 0 else 1.0 for u in range(8)]

    dc_symbols = list(range(12))
    ac_symbols = [0x00, 0xF0] + [(run << 4) | size for run in range(16) for size in range(1, 11)]
    dc = _jpeg_huffman(dc_symbols, 4)
    ac = _jpeg_huffman(ac_symbols, 8)

    out = bytearray()
    acc = [0, 0]  # bit buffer, bit count

    def put(code, length):
        acc[0] = (acc[0] << length) | code
        acc[1] += length
        while acc[1] >= 8:
            byte = (acc[0] >> (acc[1] - 8)) & 0xFF
            out.append(byte)
            if byte == 0xFF:
                out.append(0)
            acc[1] -= 8
        acc[0] &= (1 << acc[1]) - 1

    def block(plane, bx, by):
        px = [[plane[min(by + y, height - 1)][min(bx + x, width - 1)] for x in range(8)] for y in range(8)]
        coef = [0] * 64
        for v in range(8):
            for u in range(8):
                s = 0.0
                for y in range(8):
                    row = px[y]
                    cy = cos[v][y]
                    for x in range(8):
                        s += row[x] * cos[u][x] * cy
                coef[v * 8 + u] = int(round(0.25 * scale[u] * scale[v] * s / quantizer))
        return [coef[i] for i in _JPEG_ZIGZAG]

    previous = [0, 0, 0]
    for by in range(0, height, 8):
        for bx in range(0, width, 8):
            for c in range(3):
                z = block(planes[c], bx, by)
                n, bits = _jpeg_magnitude(z[0] - previous[c])
                previous[c] = z[0]
                put(*dc[2][n])
                if n:
                    put(bits, n)
                run = 0
                for k in range(1, 64):
                    if z[k] == 0:
                        run += 1
                        continue
                    while run > 15:
                        put(*ac[2][0xF0])
                        run -= 16
                    n, bits = _jpeg_magnitude(z[k])
                    put(*ac[2][(run << 4) | n])
                    put(bits, n)
                    run = 0
                if run:
                    put(*ac[2][0x00])
    if acc[1]:
        put((1 << (8 - acc[1])) - 1, 8 - acc[1])  # pad with ones

    def segment(marker, body):
        return struct.pack('>BBH', 0xFF, marker, len(body) + 2) + body

    data = b'\xff\xd8'
    data += segment(0xE0, b'JFIF\0' + struct.pack('>BBBHHBB', 1, 1, 0, 1, 1, 0, 0))
    data += segment(0xDB, bytes([0]) + bytes([quantizer] * 64))
    data += segment(0xC0, struct.pack('>BHHB', 8, height, width, 3) +
                    bytes([1, 0x11, 0, 2, 0x11, 0, 3, 0x11, 0]))
    for table_class, table in ((0, dc), (1, ac)):
        data += segment(0xC4, bytes([table_class << 4]) + bytes(table[0]) + bytes(table[1]))
    data += segment(0xDA, bytes([3, 1, 0x00, 2, 0x00, 3, 0x00, 0, 63, 0]))
    data += bytes(out) + b'\xff\xd9'
    with open(path, 'wb') as f:
        f.write(data)
