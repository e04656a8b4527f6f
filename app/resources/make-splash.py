#!/usr/bin/env python3
"""Draws the main window's splash pictures: splash.png (resource 1) and
splash-highlight.png (resource 2, shown while files are dragged over it).

266 x 246 RGB: a light page with an open book and the program's name in
block letters, light at the bottom left where the version text goes. The version and date are not part of the picture; the window
draws them over its bottom left corner. Standard library only.

    python3 app/resources/make-splash.py   # writes both files beside itself
"""
import os
import struct
import zlib

W, H = 266, 246

# 5 x 7 block letters for the name.
GLYPHS = {
    "V": ["10001", "10001", "10001", "10001", "01010", "01010", "00100"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "I": ["11111", "00100", "00100", "00100", "00100", "00100", "11111"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
}


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def draw(highlight):
    top = (252, 248, 238) if not highlight else (255, 244, 214)
    bottom = (210, 224, 242) if not highlight else (236, 214, 160)
    px = [[lerp(top, bottom, y / (H - 1)) for _ in range(W)] for y in range(H)]

    def put(x, y, c):
        if 0 <= x < W and 0 <= y < H:
            px[y][x] = c

    def rect(x0, y0, x1, y1, c):
        for y in range(max(0, y0), min(H, y1)):
            for x in range(max(0, x0), min(W, x1)):
                px[y][x] = c

    # A soft glow behind the book.
    cx, cy = W // 2, 112
    glow = (255, 255, 255) if not highlight else (255, 236, 170)
    for y in range(H):
        for x in range(W):
            d = ((x - cx) ** 2 / 1.6 + (y - cy) ** 2) ** 0.5
            t = max(0.0, 1.0 - d / 95.0) * 0.6
            if t > 0:
                px[y][x] = lerp(px[y][x], glow, t)

    # The open book: two pages that rise toward the spine, and a cover edge.
    paper = (246, 240, 222)
    shade = (214, 204, 180)
    cover = (7, 51, 104)
    for side in (-1, 1):
        for i in range(78):
            x = cx + side * (i + 2)
            lift = int(10 * (1 - i / 78.0) ** 2)
            y0 = 78 - lift + i // 10
            y1 = 150 - lift // 2
            for y in range(y0, y1):
                put(x, y, paper if (y - y0) > 2 else shade)
            put(x, y1, cover)
            put(x, y1 + 1, cover)
        # Lines of text on each page.
        for row in range(7):
            y = 94 + row * 7
            for i in range(12, 68):
                if (i * 7 + row * 13) % 23 < 19:
                    put(cx + side * i, y, (150, 146, 136))
    rect(cx - 1, 70, cx + 1, 152, shade)

    # The name in block letters, 4 pixels a dot, centred under the book.
    name = "VELLUMIX"
    scale, gap = 4, 4
    width = len(name) * 5 * scale + (len(name) - 1) * gap
    x = (W - width) // 2
    y = 170
    ink = (7, 51, 104)
    for ch in name:
        for r, bits in enumerate(GLYPHS[ch]):
            for c, bit in enumerate(bits):
                if bit == "1":
                    rect(x + c * scale, y + r * scale, x + (c + 1) * scale, y + (r + 1) * scale, ink)
        x += 5 * scale + gap

    # The highlight also frames the picture, so a drop target is obvious.
    if highlight:
        edge = (230, 140, 20)
        rect(0, 0, W, 4, edge)
        rect(0, H - 4, W, H, edge)
        rect(0, 0, 4, H, edge)
        rect(W - 4, 0, W, H, edge)
    return px


def write_png(path, px):
    raw = b"".join(b"\x00" + bytes(v for p in row for v in p) for row in px)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    here = os.path.dirname(os.path.abspath(__file__))
    write_png(os.path.join(here, "splash.png"), draw(False))
    write_png(os.path.join(here, "splash-highlight.png"), draw(True))
