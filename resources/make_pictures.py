#!/usr/bin/env python3
# Draws the program's glyphs, cursors and splash picture as PNG files in this folder.
# Run it again after changing a drawing; the PNG files are kept in the repository.
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# 5 x 7 pixel letters for the few words the pictures show.
FONT = {
    'A': ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    'C': ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    'D': ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    'E': ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    'K': ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    'L': ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    'M': ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    'O': ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    'R': ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    'S': ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    'T': ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    'V': ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    'W': ["10001", "10001", "10001", "10101", "10101", "11011", "10001"],
    'Z': ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    ' ': ["00000"] * 7,
}

CLEAR = (0, 0, 0, 0)
BLACK = (0, 0, 0, 255)
WHITE = (255, 255, 255, 255)
BLUE = (0, 0, 160, 255)
RED = (200, 0, 0, 255)
GREY = (128, 128, 128, 255)


class Canvas:
    def __init__(self, w, h, fill=CLEAR):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def set(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def frame(self, x0, y0, x1, y1, c):
        for x in range(x0, x1 + 1):
            self.set(x, y0, c)
            self.set(x, y1, c)
        for y in range(y0, y1 + 1):
            self.set(x0, y, c)
            self.set(x1, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x0 < x1 else -1), (1 if y0 < y1 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                break
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def circle(self, cx, cy, r, c):
        for y in range(cy - r - 1, cy + r + 2):
            for x in range(cx - r - 1, cx + r + 2):
                d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
                if abs(d - r) < 0.6:
                    self.set(x, y, c)

    def text(self, x, y, s, c, scale=1):
        for ch in s:
            rows = FONT[ch]
            for ry, row in enumerate(rows):
                for rx, bit in enumerate(row):
                    if bit == '1':
                        self.rect(x + rx * scale, y + ry * scale,
                                  x + rx * scale + scale - 1, y + ry * scale + scale - 1, c)
            x += 6 * scale

    def save(self, name):
        raw = b''.join(b'\x00' + b''.join(struct.pack('BBBB', *p) for p in row) for row in self.px)

        def chunk(tag, data):
            body = tag + data
            return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)

        png = b'\x89PNG\r\n\x1a\n'
        png += chunk(b'IHDR', struct.pack('>IIBBBBB', self.w, self.h, 8, 6, 0, 0, 0))
        png += chunk(b'IDAT', zlib.compress(raw, 9))
        png += chunk(b'IEND', b'')
        with open(os.path.join(HERE, name + '.png'), 'wb') as f:
            f.write(png)


# Symmetry glyphs: a 5 x 5 pattern whose blocks follow the symmetry mode.
SYM_BLOCKS = {
    'SP_NOSYM': [(0, 0), (3, 1), (1, 3)],
    'SP_STD': [(0, 1), (4, 3), (2, 0), (2, 4)],
    'SP_SPIRL': [(1, 0), (4, 1), (3, 4), (0, 3)],
    'SP_KALI': [(1, 0), (3, 0), (4, 1), (4, 3), (3, 4), (1, 4), (0, 3), (0, 1)],
    'SP_HORZ': [(0, 0), (4, 0), (1, 2), (3, 2)],
    'SP_VERT': [(0, 0), (0, 4), (2, 1), (2, 3)],
    'SP_HV': [(0, 0), (4, 0), (0, 4), (4, 4), (2, 2)],
}


def sym_pattern(c, blocks, x0, y0, cell):
    n = 5
    c.rect(x0, y0, x0 + n * cell, y0 + n * cell, WHITE)
    for (bx, by) in blocks:
        c.rect(x0 + bx * cell, y0 + by * cell, x0 + bx * cell + cell, y0 + by * cell + cell, BLACK)
    for i in range(n + 1):
        c.line(x0 + i * cell, y0, x0 + i * cell, y0 + n * cell, GREY)
        c.line(x0, y0 + i * cell, x0 + n * cell, y0 + i * cell, GREY)
    c.frame(x0, y0, x0 + n * cell, y0 + n * cell, BLACK)


def glyphs():
    a = Canvas(16, 16)
    a.text(1, 1, 'A', BLUE)
    a.line(2, 12, 13, 12, BLACK)
    for i in range(1, 4):
        a.line(13 - i, 12 - i, 13 - i, 12 + i, BLACK)
    a.save('LETTER_A')
    d = Canvas(16, 16)
    d.text(9, 1, 'D', BLUE)
    d.line(4, 2, 4, 13, BLACK)
    for i in range(1, 4):
        d.line(4 - i, 13 - i, 4 + i, 13 - i, BLACK)
    d.save('LETTER_D')
    # Exchange across and down: an arrow pointing right and one pointing down, joined by a
    # curved swap mark.
    x = Canvas(16, 16)
    x.line(1, 3, 9, 3, BLUE)
    for i in range(1, 3):
        x.line(9 - i, 3 - i, 9 - i, 3 + i, BLUE)
    x.line(3, 6, 3, 14, RED)
    for i in range(1, 3):
        x.line(3 - i, 14 - i, 3 + i, 14 - i, RED)
    x.line(7, 13, 13, 7, BLACK)
    x.line(13, 7, 13, 10, BLACK)
    x.line(13, 7, 10, 7, BLACK)
    x.line(7, 13, 7, 10, BLACK)
    x.line(7, 13, 10, 13, BLACK)
    x.save('EXCHANGE')
    for name, blocks in SYM_BLOCKS.items():
        g = Canvas(16, 16)
        sym_pattern(g, blocks, 0, 0, 3)
        g.save(name)


def pointer_cross(c):
    # A cross whose centre (hot spot 8, 8) marks the cell under the pointer.
    c.line(8, 0, 8, 16, BLACK)
    c.line(0, 8, 16, 8, BLACK)
    c.set(8, 8, WHITE)


def cursors():
    h = Canvas(32, 32)
    h.line(4, 0, 4, 14, BLACK)
    h.line(2, 0, 6, 0, BLACK)
    h.line(2, 14, 6, 14, BLACK)
    h.line(8, 7, 20, 7, BLUE)
    for i in range(1, 4):
        h.line(20 - i, 7 - i, 20 - i, 7 + i, BLUE)
    h.text(10, 17, 'A', BLUE)
    h.save('ALPHA_H')
    v = Canvas(32, 32)
    v.line(4, 0, 4, 14, BLACK)
    v.line(2, 0, 6, 0, BLACK)
    v.line(2, 14, 6, 14, BLACK)
    v.line(12, 2, 12, 16, BLUE)
    for i in range(1, 4):
        v.line(12 - i, 16 - i, 12 + i, 16 - i, BLUE)
    v.text(16, 4, 'D', BLUE)
    v.save('ALPHA_V')
    e = Canvas(32, 32)
    pointer_cross(e)
    for i in range(8):
        e.line(12 + i, 24 - i, 20 + i, 24 - i, (230, 120, 150, 255))
    e.line(12, 24, 19, 17, BLACK)
    e.line(20, 24, 27, 17, BLACK)
    e.line(12, 24, 20, 24, BLACK)
    e.line(19, 17, 27, 17, BLACK)
    e.save('EraseLetter')
    for name, glyph in (('SymNone', 'SP_NOSYM'), ('SymStandard', 'SP_STD'),
                        ('SymSpiral', 'SP_SPIRL'), ('SymKaleidoscope', 'SP_KALI'),
                        ('SymHorz', 'SP_HORZ'), ('SymVert', 'SP_VERT'), ('SymHV', 'SP_HV')):
        s = Canvas(32, 32)
        pointer_cross(s)
        sym_pattern(s, SYM_BLOCKS[glyph], 14, 14, 3)
        s.save(name)
    r = Canvas(32, 32)
    pointer_cross(r)
    r.circle(22, 22, 7, RED)
    r.circle(22, 22, 6, RED)
    r.line(17, 27, 27, 17, RED)
    r.line(17, 26, 26, 17, RED)
    r.save('RejectWord')
    z = Canvas(32, 32)
    z.circle(11, 11, 8, BLACK)
    z.circle(11, 11, 7, BLACK)
    z.line(7, 11, 15, 11, BLACK)
    z.line(11, 7, 11, 15, BLACK)
    for i in range(3):
        z.line(17 + i, 16, 27 + i, 26, BLACK)
    z.save('Zoom')


def splash():
    w, hgt = 400, 240
    c = Canvas(w, hgt)
    for y in range(hgt):
        t = y / (hgt - 1)
        col = (int(207 + 40 * t), int(225 + 20 * t), int(243 + 10 * t), 255)
        for x in range(w):
            c.px[y][x] = col
    # A small crossword pattern in the right half.
    cell, gx, gy = 18, 230, 40
    pattern = ["TAR#L", "A#O#E", "RAVEL", "E#E#A", "L#RAN"]
    for ry, row in enumerate(pattern):
        for rx, ch in enumerate(row):
            x0, y0 = gx + rx * cell, gy + ry * cell
            if ch == '#':
                c.rect(x0, y0, x0 + cell, y0 + cell, BLACK)
            else:
                c.rect(x0, y0, x0 + cell, y0 + cell, WHITE)
                c.frame(x0, y0, x0 + cell, y0 + cell, BLACK)
                if ch in FONT:
                    c.text(x0 + 6, y0 + 5, ch, BLUE)
    c.text(30, 60, 'TARVEL', (0, 0, 128, 255), 5)
    c.text(30, 120, 'CROSSWORD MAKER', BLACK, 2)
    c.frame(0, 0, w - 1, hgt - 1, (0, 0, 128, 255))
    c.save('TRVSplash')


def traffic_lights():
    # The Make Puzzle button's traffic light: red, yellow or green lamp lit, the others dim.
    lamps = [((220, 0, 0, 255), (90, 30, 30, 255)), ((240, 200, 0, 255), (90, 80, 30, 255)),
             ((0, 190, 0, 255), (30, 80, 30, 255))]
    for lit, name in ((0, 'MakePuzzleRedImage'), (1, 'MakePuzzleYellowImage'), (2, 'MakePuzzleGreenImage')):
        c = Canvas(16, 24)
        c.rect(3, 0, 13, 24, (40, 40, 40, 255))
        for i, (on, off) in enumerate(lamps):
            c.circle(8, 4 + i * 8, 3, on if i == lit else off)
        c.save(name)


def icon():
    c = Canvas(32, 32)
    sym_pattern(c, SYM_BLOCKS['SP_STD'], 1, 1, 6)
    c.save('TRVIcon')


if __name__ == '__main__':
    glyphs()
    cursors()
    splash()
    traffic_lights()
    icon()
