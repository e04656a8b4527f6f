#!/usr/bin/env python3
"""Draws the two palette images of the example book and writes them as PNG
files (colour type 3, bit depth 2, four grey palette entries) into
examples/example_img/. The committed files came from this script; run it
again only to change the pictures."""
import math
import os
import struct
import zlib

PALETTE = [(255, 255, 255), (170, 170, 170), (85, 85, 85), (0, 0, 0)]


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, pixels):
    height = len(pixels)
    width = len(pixels[0])
    rows = bytearray()
    for row in pixels:
        rows.append(0)  # filter type None
        packed = 0
        for x, value in enumerate(row):
            packed = (packed << 2) | value
            if x % 4 == 3:
                rows.append(packed)
                packed = 0
        if width % 4:
            rows.append(packed << (2 * (4 - width % 4)))
    header = struct.pack(">IIBBBBB", width, height, 2, 3, 0, 0, 0)
    palette = b"".join(bytes(colour) for colour in PALETTE)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", header))
        out.write(chunk(b"PLTE", palette))
        out.write(chunk(b"IDAT", zlib.compress(bytes(rows), 9)))
        out.write(chunk(b"IEND", b""))


def compass(size=48):
    """A compass rose: a ring and a four-pointed star, north in black."""
    c = (size - 1) / 2
    pixels = [[0] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            dx, dy = x - c, y - c
            r = math.hypot(dx, dy)
            if c - 2.5 <= r <= c - 0.5:
                pixels[y][x] = 2
            # Star: |dx| * k + |dy| <= c - 4 along each axis, a thin diamond.
            ax, ay = abs(dx), abs(dy)
            if ax * 5 + ay <= c - 3 or ay * 5 + ax <= c - 3:
                pixels[y][x] = 3 if dy < 0 and ax * 5 + ay <= c - 3 else 1
            if r <= 2:
                pixels[y][x] = 3
    return pixels


def tide(width=120, height=36):
    """Three rows of waves over a shaded sea, with a band of sand below."""
    pixels = [[0] * width for _ in range(height)]
    for x in range(width):
        for band, (base, amp, colour) in enumerate(((8, 3.0, 2), (16, 2.5, 1), (23, 2.0, 2))):
            y = int(round(base + amp * math.sin((x + band * 7) * 2 * math.pi / 30)))
            for t in range(2):
                if 0 <= y + t < height:
                    pixels[y + t][x] = colour
        for y in range(30, height):
            pixels[y][x] = 1 if (x + y) % 3 else 2
    return pixels


def main():
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "example_img")
    os.makedirs(folder, exist_ok=True)
    write_png(os.path.join(folder, "compass.png"), compass())
    write_png(os.path.join(folder, "tide.png"), tide())


if __name__ == "__main__":
    main()
