#!/usr/bin/env python3
# Draws the program's glyphs, cursors, splash picture and the quick tour's pictures as PNG files
# in this folder.
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
    'B': ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    'F': ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    'G': ["01111", "10000", "10000", "10011", "10001", "10001", "01111"],
    'H': ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    'I': ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    'J': ["00111", "00010", "00010", "00010", "00010", "10010", "01100"],
    'N': ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    'P': ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    'Q': ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    'U': ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    'X': ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    'Y': ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    '&': ["01100", "10010", "10100", "01000", "10101", "10010", "01101"],
    '.': ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    '-': ["00000", "00000", "00000", "01110", "00000", "00000", "00000"],
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

    def disc(self, cx, cy, r, c):
        for y in range(cy - r, cy + r + 1):
            for x in range(cx - r, cx + r + 1):
                if (x - cx) ** 2 + (y - cy) ** 2 <= r * r + r:
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


def text_width(s):
    return len(s) * 6 - 1


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
    # Stock patterns: two ready-made patterns, one lying over the other.
    s = Canvas(16, 16)
    for x0, y0, blocks in ((0, 0, 'SP_HV'), (5, 5, 'SP_STD')):
        s.rect(x0, y0, x0 + 10, y0 + 10, WHITE)
        for (bx, by) in SYM_BLOCKS[blocks]:
            s.rect(x0 + 1 + 2 * bx, y0 + 1 + 2 * by, x0 + 2 + 2 * bx, y0 + 2 + 2 * by, BLACK)
        s.frame(x0, y0, x0 + 10, y0 + 10, BLACK)
    s.save('StockPattern')
    # Open: a yellow folder with its lid raised.
    o = Canvas(16, 16)
    folder = (240, 200, 80, 255)
    o.rect(1, 4, 13, 13, folder)
    o.rect(1, 3, 6, 4, folder)
    o.frame(1, 4, 13, 13, BLACK)
    o.line(1, 3, 6, 3, BLACK)
    for i in range(0, 6):
        o.line(4 + i // 2, 13 - i, 15 - i // 3, 13 - i, (250, 225, 130, 255))
    o.line(4, 13, 15, 8, BLACK)
    o.save('FileOpen')
    # Save: a diskette.
    v = Canvas(16, 16)
    v.rect(1, 1, 14, 14, BLUE)
    v.rect(4, 2, 11, 6, WHITE)
    v.rect(9, 3, 10, 5, BLUE)
    v.rect(3, 9, 12, 14, (220, 220, 220, 255))
    v.frame(1, 1, 14, 14, BLACK)
    v.save('FileSave')
    # Print: a printer with a sheet coming out.
    r = Canvas(16, 16)
    r.rect(4, 1, 11, 6, WHITE)
    r.frame(4, 1, 11, 6, BLACK)
    r.rect(1, 6, 14, 11, GREY)
    r.frame(1, 6, 14, 11, BLACK)
    r.rect(4, 10, 11, 14, WHITE)
    r.frame(4, 10, 11, 14, BLACK)
    r.line(5, 12, 10, 12, GREY)
    r.set(12, 8, (0, 200, 0, 255))
    r.save('FilePrint')
    # Help: a question mark in a blue disc.
    h = Canvas(16, 16)
    h.disc(8, 8, 7, BLUE)
    for (x0, y0, x1, y1) in ((5, 4, 10, 4), (4, 5, 5, 6), (10, 5, 11, 7), (8, 8, 9, 8), (7, 9, 8, 10),
                             (7, 12, 8, 13)):
        h.rect(x0, y0, x1, y1, WHITE)
    h.save('Help')
    # One-click publishing: a globe.
    g = Canvas(16, 16)
    globe(g, 8, 8, 7)
    g.save('Globe')


def globe(c, cx, cy, r):
    c.disc(cx, cy, r, (150, 200, 245, 255))
    for dy in (-r // 2, 0, r // 2):
        half = int((r * r - dy * dy) ** 0.5)
        c.line(cx - half, cy + dy, cx + half, cy + dy, BLUE)
    c.line(cx, cy - r, cx, cy + r, BLUE)
    for y in range(cy - r + 1, cy + r):
        half = int(round(0.5 * (r * r - (y - cy) ** 2) ** 0.5))
        c.set(cx - half, y, BLUE)
        c.set(cx + half, y, BLUE)
    c.circle(cx, cy, r, BLUE)


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


def traffic_light(c, x, y, lit):
    # The Make Puzzle button's traffic light, 16 x 24: red, yellow or green lamp lit, the others dim.
    lamps = [((230, 20, 20, 255), (95, 40, 40, 255)), ((250, 210, 0, 255), (95, 85, 35, 255)),
             ((20, 210, 20, 255), (35, 85, 35, 255))]
    c.rect(x + 3, y, x + 13, y + 23, (40, 40, 40, 255))
    for i, (on, off) in enumerate(lamps):
        c.disc(x + 8, y + 4 + i * 8, 3, on if i == lit else off)


def traffic_lights():
    for lit, name in ((0, 'MakePuzzleRedImage'), (1, 'MakePuzzleYellowImage'), (2, 'MakePuzzleGreenImage')):
        c = Canvas(16, 24)
        traffic_light(c, 0, 0, lit)
        c.save(name)


def icon():
    c = Canvas(32, 32)
    sym_pattern(c, SYM_BLOCKS['SP_STD'], 1, 1, 6)
    c.save('TRVIcon')


# The quick tour's pictures: flat colours, drawn at the size they are shown.
FACE = (240, 240, 240, 255)
SHADOW = (160, 160, 160, 255)
DARK = (100, 100, 100, 255)
TAB_FACE = (226, 226, 226, 255)
HILITE = (0, 110, 200, 255)
HILITE_SOFT = (205, 228, 247, 255)


def crossword(c, x0, y0, rows, cell):
    # One string a row: a letter is a white cell, '#' a block, '.' no cell at all.
    for ry, row in enumerate(rows):
        for rx, ch in enumerate(row):
            if ch == '.':
                continue
            x, y = x0 + rx * cell, y0 + ry * cell
            c.rect(x, y, x + cell, y + cell, BLACK if ch == '#' else WHITE)
            c.frame(x, y, x + cell, y + cell, BLACK)
            if ch in FONT and ch != '#':
                c.text(x + (cell - 4) // 2, y + (cell - 6) // 2, ch, BLUE)


def tour_crosswords():
    cell = 15
    # Freeform: the words cross loosely and the grid takes their shape.
    freeform = ["..F..C..",
                ".PUZZLE.",
                "..N..U..",
                "...THEME",
                "......A.",
                "......K.",
                "..ANSWER",
                "...E....",
                "...WORD."]
    c = Canvas(7 * cell + 1, len(freeform) * cell + 1)
    crossword(c, -cell, 0, freeform, cell)
    c.save('TourFreeform')
    # Symmetrical: a square grid whose blocks turn into themselves on a half turn.
    symmetrical = ["CAP#ODD",
                   "OWL#PEA",
                   "WEEKEND",
                   "##AIR##",
                   "DISTANT",
                   "ONE#TOE",
                   "END#ERA"]
    c = Canvas(7 * cell + 1, 7 * cell + 1)
    crossword(c, 0, 0, symmetrical, cell)
    c.save('TourSymmetrical')


def step_tabs():
    # The main window's step tabs. The first three fill exactly 222 pixels, so the picture
    # cropped to that width shows the freeform steps and the whole of it the symmetrical ones.
    tabs = [(("PUZZLE", "TYPE"), 64), (("YOUR WORDS", "& CLUES"), 92), (("GRID",), 66),
            (("OTHER", "CLUES"), 69)]
    w, h = sum(width for _, width in tabs), 28
    c = Canvas(w, h)
    base = h - 1
    c.line(0, base, w - 1, base, DARK)
    x = 0
    for i, (lines, width) in enumerate(tabs):
        selected = i == 0
        top = 0 if selected else 3
        x0, x1 = x + 1, x + width - 2
        c.rect(x0 + 1, top + 1, x1 - 1, base if selected else base - 1, WHITE if selected else TAB_FACE)
        c.line(x0 + 2, top, x1 - 2, top, DARK)
        c.set(x0 + 1, top + 1, DARK)
        c.set(x1 - 1, top + 1, DARK)
        c.line(x0, top + 2, x0, base, DARK)
        c.line(x1, top + 2, x1, base, DARK)
        ty = top + (base - top - (len(lines) * 10 - 3)) // 2 + 1
        for line in lines:
            c.text(x + (width - text_width(line)) // 2, ty, line, BLACK)
            ty += 10
        x += width
    c.save('TourStepTabs')


def raised_button(c, x0, y0, x1, y1):
    c.rect(x0, y0, x1, y1, FACE)
    c.line(x0, y0, x1, y0, WHITE)
    c.line(x0, y0, x0, y1, WHITE)
    c.line(x0, y1, x1, y1, DARK)
    c.line(x1, y0, x1, y1, DARK)
    c.line(x0 + 1, y1 - 1, x1 - 1, y1 - 1, SHADOW)
    c.line(x1 - 1, y0 + 1, x1 - 1, y1 - 1, SHADOW)


def make_puzzle_button():
    # The speed bar's Make Puzzle button with its traffic light showing green.
    label = 'MAKE PUZZLE'
    w = 28 + text_width(label) + 9
    c = Canvas(w, 30)
    raised_button(c, 0, 0, w - 1, 29)
    traffic_light(c, 5, 3, 2)
    c.text(28, 11, label, BLACK)
    c.save('TourMakePuzzle')


def publish_button():
    # The speed bar's One-Click Publish button: a globe and its caption.
    label = 'ONE-CLICK PUBLISH'
    w = 30 + text_width(label) + 9
    c = Canvas(w, 30)
    raised_button(c, 0, 0, w - 1, 29)
    globe(c, 14, 14, 8)
    c.text(30, 11, label, BLACK)
    c.save('TourPublish')


def arrow_pointer(c, x, y):
    shape = ["1", "11", "121", "1221", "12221", "122221", "1222221", "12222221", "122221111",
             "1221221", "121 1221", "11  1221", "1    1221", "     1221", "      11"]
    for dy, row in enumerate(shape):
        for dx, ch in enumerate(row):
            if ch in '12':
                c.set(x + dx, y + dy, BLACK if ch == '1' else WHITE)


def menu_picture():
    # The main window's menu bar with the File menu open and Print ... under the pointer.
    titles = ['FILE', 'EDIT', 'VIEW', 'GRID', 'MAKE', 'CLUES', 'LAYOUT & FONTS', 'EXPORT', 'HELP']
    items = ['NEW', 'OPEN', 'SAVE', 'SAVE AS ...', None, 'PRINT ...', None, 'EXIT']
    bar_h, item_h = 16, 14
    w = 4 + sum(text_width(t) + 12 for t in titles) + 2
    drop_w = max(text_width(t) for t in items if t) + 40
    drop_h = sum(item_h if t else 7 for t in items) + 4
    c = Canvas(w, bar_h + drop_h + 1)
    c.rect(0, 0, w - 1, bar_h - 1, (248, 248, 248, 255))
    c.line(0, bar_h - 1, w - 1, bar_h - 1, SHADOW)
    x = 4
    for i, title in enumerate(titles):
        tw = text_width(title) + 12
        if i == 0:
            c.rect(x, 1, x + tw - 1, bar_h - 2, HILITE_SOFT)
            c.frame(x, 1, x + tw - 1, bar_h - 2, HILITE)
        c.text(x + 6, 5, title, BLACK)
        x += tw
    x0, y0 = 4, bar_h
    c.rect(x0, y0, x0 + drop_w, y0 + drop_h, WHITE)
    c.frame(x0, y0, x0 + drop_w, y0 + drop_h, SHADOW)
    y = y0 + 2
    for item in items:
        if item is None:
            c.line(x0 + 6, y + 3, x0 + drop_w - 6, y + 3, SHADOW)
            y += 7
            continue
        chosen = item.startswith('PRINT')
        if chosen:
            c.rect(x0 + 2, y, x0 + drop_w - 2, y + item_h - 1, HILITE)
        c.text(x0 + 12, y + 4, item, WHITE if chosen else BLACK)
        if chosen:
            pointer = (x0 + 12 + text_width(item) + 6, y + 6)
        y += item_h
    arrow_pointer(c, *pointer)
    c.save('TourMenu')


def tour():
    tour_crosswords()
    step_tabs()
    make_puzzle_button()
    publish_button()
    menu_picture()


if __name__ == '__main__':
    glyphs()
    cursors()
    splash()
    traffic_lights()
    icon()
    tour()
