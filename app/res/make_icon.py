#!/usr/bin/env python3
"""Draws the program icon: a sheet of paper sealed by a padlock, 32x32 in 16 colours (766 bytes)."""
import struct
import sys

# The standard 16-colour palette, as (r, g, b).
PALETTE = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
           (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
           (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, DKGRAY, GRAY, WHITE, NAVY, BLUE, OLIVE, YELLOW = 0, 8, 7, 15, 4, 12, 3, 11
SIZE = 32


def draw():
    """Returns (pixels, mask): colour index per pixel and 1 for transparent, rows top-down."""
    px = [[0] * SIZE for _ in range(SIZE)]
    mask = [[1] * SIZE for _ in range(SIZE)]

    def put(x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            px[y][x] = c
            mask[y][x] = 0

    def rect(x0, y0, x1, y1, fill, edge=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                border = x in (x0, x1) or y in (y0, y1)
                put(x, y, edge if (border and edge is not None) else fill)

    # The sheet with a folded corner and text lines.
    rect(3, 1, 22, 28, WHITE, BLACK)
    for i in range(5):
        for j in range(i + 1):
            put(22 - i + j, 1 + i, GRAY if j < i else BLACK)
    for y in (6, 9, 12, 15):
        for x in range(6, 19):
            put(x, y, BLUE if (x + y) % 5 else NAVY)
    # The padlock: shackle and body.
    for y in range(13, 21):
        for x in (16, 17, 26, 27):
            put(x, y, DKGRAY)
    for x in range(16, 28):
        put(x, 12, DKGRAY)
        put(x, 11, BLACK if x in (16, 27) else DKGRAY)
    rect(13, 20, 30, 31, YELLOW, BLACK)
    for x in range(14, 30):
        put(x, 30, OLIVE)
    rect(20, 23, 23, 26, BLACK)
    for y in range(26, 29):
        put(21, y, BLACK)
        put(22, y, BLACK)
    return px, mask


def encode(px, mask):
    header = struct.pack('<HHH', 0, 1, 1)
    xor_bytes = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up
        row = px[y]
        for x in range(0, SIZE, 2):
            xor_bytes.append((row[x] << 4) | row[x + 1])
    and_bytes = bytearray()
    for y in reversed(range(SIZE)):
        for x in range(0, SIZE, 8):
            b = 0
            for k in range(8):
                b = (b << 1) | mask[y][x + k]
            and_bytes.append(b)
    info = struct.pack('<IiiHHIIiiII', 40, SIZE, SIZE * 2, 1, 4, 0, len(xor_bytes) + len(and_bytes), 0, 0, 16, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in PALETTE)
    image = info + palette + bytes(xor_bytes) + bytes(and_bytes)
    entry = struct.pack('<BBBBHHII', SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return header + entry + image


if __name__ == '__main__':
    data = encode(*draw())
    assert len(data) == 766, len(data)
    with open(sys.argv[1] if len(sys.argv) > 1 else 'sealbox.ico', 'wb') as f:
        f.write(data)
