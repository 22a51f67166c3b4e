#!/usr/bin/env python3
"""Draws the programs' icons as 16-colour .ico files (32x32, most with 16x16 too).

The committed files in icons/ are this script's output; run it again after
changing a drawing:  python3 resources/make-icons.py
"""
import math
import os
import struct

PALETTE = [  # the standard 16 colours
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
    (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
    (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, NAVY, GREEN, GRAY, SILVER, YELLOW, BLUE, WHITE, OLIVE, TEAL, RED = 0, 4, 2, 8, 7, 11, 12, 15, 3, 6, 9


def inside_triangle(x, y, a, b, c):
    def side(p, q):
        return (x - q[0]) * (p[1] - q[1]) - (p[0] - q[0]) * (y - q[1])
    d1, d2, d3 = side(a, b), side(b, c), side(c, a)
    neg = d1 < 0 or d2 < 0 or d3 < 0
    pos = d1 > 0 or d2 > 0 or d3 > 0
    return not (neg and pos)


def setup_box(x, y):
    """A carton with an arrow going into it."""
    if 14 <= y <= 29 and 4 <= x <= 27:
        if y in (14, 29) or x in (4, 27):
            return BLACK
        if y == 15 or x == 5:
            return WHITE
        if y <= 18:
            return OLIVE
        return YELLOW
    if 2 <= y <= 12 and 13 <= x <= 18:
        return BLUE if 14 <= x <= 17 else NAVY
    if inside_triangle(x, y, (8, 10), (23, 10), (15.5, 19)) and y >= 10:
        return BLUE if y < 18 else NAVY
    return None


def folder(x, y):
    if 6 <= y <= 9 and 3 <= x <= 13:
        return BLACK if y == 6 or x in (3, 13) else YELLOW
    if 9 <= y <= 27 and 2 <= x <= 29:
        if y in (9, 27) or x in (2, 29):
            return BLACK
        if y == 10:
            return WHITE
        return YELLOW if y < 24 else OLIVE
    return None


def globe(x, y):
    cx, cy, r = 15.5, 15.5, 13.5
    d = math.hypot(x - cx, y - cy)
    if d > r:
        return None
    if d > r - 1.2:
        return BLACK
    land = (math.sin(x * 0.45) + math.cos(y * 0.5 + x * 0.2)) > 0.9
    if abs(x - cx) < 0.8 or abs(y - cy) < 0.8:
        return NAVY
    return GREEN if land else BLUE


def player(x, y):
    if 3 <= y <= 23 and 1 <= x <= 30:
        if y in (3, 23) or x in (1, 30):
            return BLACK
        if 6 <= y <= 20 and 4 <= x <= 27:
            if inside_triangle(x, y, (12, 8), (12, 18), (21, 13)):
                return YELLOW
            return NAVY
        return SILVER
    if 24 <= y <= 26 and 12 <= x <= 19:
        return GRAY
    if 27 <= y <= 28 and 7 <= x <= 24:
        return BLACK if y == 28 else GRAY
    return None


def document(x, y):
    """A page with a folded corner and a play mark."""
    if not (2 <= y <= 29 and 5 <= x <= 26):
        return None
    dx, dy = x - 19, y - 2
    if dx >= 0 and dy <= 7:  # the folded corner
        if dx > dy:
            return None
        if dx == dy or dx == 0 or dy == 7:
            return BLACK
        return SILVER
    if y in (2, 29) or x in (5, 26):
        return BLACK
    if inside_triangle(x, y, (11, 12), (11, 24), (21, 18)):
        return BLUE
    return WHITE


def image(draw, size):
    scale = 32 / size
    rows = []
    for y in range(size):
        rows.append([draw(int(x * scale + scale / 2 - 0.5), int(y * scale + scale / 2 - 0.5))
                     for x in range(size)])
    return rows


def bmp(rows):
    size = len(rows)
    head = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    pal = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor = b''
    andm = b''
    for row in reversed(rows):  # bottom-up
        nib = [(c if c is not None else 0) for c in row]
        line = bytes((nib[i] << 4) | nib[i + 1] for i in range(0, size, 2))
        xor += line + b'\0' * ((4 - len(line) % 4) % 4)
        bits = 0
        mline = b''
        for i, c in enumerate(row):
            bits = (bits << 1) | (1 if c is None else 0)
            if i % 8 == 7:
                mline += bytes([bits])
                bits = 0
        andm += mline + b'\0' * ((4 - len(mline) % 4) % 4)
    return head + pal + xor + andm


def ico(draw, sizes=(32, 16)):
    images = [bmp(image(draw, s)) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    return out + b''.join(images)


# The destination page shows the folder and the globe at 32x32 only: no small
# image for them in setup.
ICONS = {'setup.ico': (setup_box,), 'folder.ico': (folder, (32,)), 'navigator.ico': (globe, (32,)),
         'player.ico': (player,), 'document.ico': (document,)}

if __name__ == '__main__':
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'icons')
    os.makedirs(here, exist_ok=True)
    for name, args in ICONS.items():
        with open(os.path.join(here, name), 'wb') as f:
            f.write(ico(*args))
