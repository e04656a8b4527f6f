#!/usr/bin/env python3
"""Draws the program's icon, vellumix.ico: an open book in the splash's
colours, with a dark blue cover under cream pages and lines of text, at 16,
32 and 48 pixels (32-bit with alpha). Standard library only.

    python3 app/resources/make-icon.py   # writes vellumix.ico beside itself
"""
import os
import struct

SIZES = (16, 32, 48)
SCALE = 4  # drawn at four times the size, then averaged down

COVER = (7, 51, 104)
PAGE = (252, 248, 238)
PAGE_SHADE = (222, 214, 196)
TEXT = (120, 132, 150)


def draw(size):
    n = size * SCALE
    px = [[None] * n for _ in range(n)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(max(0, int(y0 * n)), min(n, int(y1 * n))):
            for x in range(max(0, int(x0 * n)), min(n, int(x1 * n))):
                px[y][x] = colour

    # The cover, a little larger than the pages, and the spine.
    fill(0.04, 0.16, 0.96, 0.88, COVER)
    # Two pages, each sloping down toward the spine.
    for side in (0, 1):
        for y in range(n):
            fy = y / n
            for x in range(n):
                fx = x / n
                inner = abs(fx - 0.5)
                if inner < 0.02 or inner > 0.42:
                    continue
                if (fx < 0.5) != (side == 0):
                    continue
                top = 0.10 + 0.06 * (0.42 - inner) / 0.42
                bottom = 0.80 + 0.04 * (0.42 - inner) / 0.42
                if top <= fy < bottom:
                    shade = PAGE_SHADE if inner < 0.07 else PAGE
                    px[y][x] = shade
    # Lines of text on both pages.
    for row in range(5):
        y0 = 0.24 + row * 0.11
        for x0, x1 in ((0.15, 0.42), (0.58, 0.85)):
            if row == 4 and x0 > 0.5:
                x1 = 0.72
            fill(x0, y0, x1, y0 + 0.045, TEXT)

    # Average each SCALE x SCALE block; empty pixels are transparent.
    out = []
    for y in range(size):
        row = []
        for x in range(size):
            r = g = b = a = 0
            for dy in range(SCALE):
                for dx in range(SCALE):
                    c = px[y * SCALE + dy][x * SCALE + dx]
                    if c is not None:
                        r += c[0]
                        g += c[1]
                        b += c[2]
                        a += 1
            if a:
                row.append((r // a, g // a, b // a, 255 * a // (SCALE * SCALE)))
            else:
                row.append((0, 0, 0, 0))
        out.append(row)
    return out


def bitmap(size):
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + colour + bytes(mask)


def main():
    images = [bitmap(size) for size in SIZES]
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for size, data in zip(SIZES, images):
        entries += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "vellumix.ico")
    with open(path, "wb") as f:
        f.write(directory + entries + b"".join(images))


if __name__ == "__main__":
    main()
