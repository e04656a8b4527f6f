#!/usr/bin/env python3
"""Draws the log window's icons: 16 x 16 RGBA PNG files, one per level.

    error.png    red disc with a white cross        (resource 10003)
    warning.png  yellow triangle with a dark "!"    (resource 10004)
    status.png   blue disc with a white "i"         (resource 10005)

Shapes are described geometrically and sampled 4 x 4 times per pixel, so the
edges are smooth and the alpha channel is real. Only the standard library is
used; the files are written next to this script (or into the folder given as
the only argument). The output is deterministic: run it again and commit
the PNG files when the pictures change.
"""

import math
import os
import struct
import sys
import zlib

SIZE = 16
SUBSAMPLES = 4


def png_bytes(width, height, rgba_rows):
    """A PNG file (colour type 6, 8 bits) from rows of (r, g, b, a) tuples."""

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    raw = bytearray()
    for row in rgba_rows:
        raw.append(0)  # filter type: none
        for pixel in row:
            raw.extend(pixel)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) +
            chunk(b"IEND", b""))


def segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / length2))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def disc(cx, cy, radius):
    """Signed distance: negative inside."""
    return lambda x, y: math.hypot(x - cx, y - cy) - radius


def stroke(ax, ay, bx, by, half_width):
    return lambda x, y: segment_distance(x, y, ax, ay, bx, by) - half_width


def union(*shapes):
    return lambda x, y: min(shape(x, y) for shape in shapes)


def triangle(points):
    """Signed distance of a convex triangle (inside: minus the distance to the nearest edge line)."""
    (ax, ay), (bx, by), (cx, cy) = points
    area = (bx - ax) * (cy - ay) - (by - ay) * (cx - ax)
    edges = [((ax, ay), (bx, by)), ((bx, by), (cx, cy)), ((cx, cy), (ax, ay))]

    def distance(x, y):
        inside = True
        nearest = float("inf")
        for (x0, y0), (x1, y1) in edges:
            cross = (x1 - x0) * (y - y0) - (y1 - y0) * (x - x0)
            if cross * area < 0:
                inside = False
            nearest = min(nearest, segment_distance(x, y, x0, y0, x1, y1))
        return -nearest if inside else nearest

    return distance


def render(layers):
    """layers: (signed distance, colour) painted in order; returns rows of RGBA."""
    rows = []
    for py in range(SIZE):
        row = []
        for px in range(SIZE):
            acc = [0.0, 0.0, 0.0, 0.0]  # premultiplied
            for sy in range(SUBSAMPLES):
                for sx in range(SUBSAMPLES):
                    x = px + (sx + 0.5) / SUBSAMPLES
                    y = py + (sy + 0.5) / SUBSAMPLES
                    colour = None
                    for shape, layer_colour in layers:
                        if shape(x, y) <= 0:
                            colour = layer_colour
                    if colour:
                        for i in range(3):
                            acc[i] += colour[i]
                        acc[3] += 1
            n = SUBSAMPLES * SUBSAMPLES
            alpha = acc[3] / n
            if alpha == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(acc[i] / acc[3]) for i in range(3)) + (round(alpha * 255),))
        rows.append(row)
    return rows


def error_icon():
    return render([
        (disc(8, 8, 7.5), (150, 18, 18)),
        (disc(8, 8, 6.5), (214, 38, 38)),
        (union(stroke(5.2, 5.2, 10.8, 10.8, 1.1), stroke(10.8, 5.2, 5.2, 10.8, 1.1)), (255, 255, 255)),
    ])


def warning_icon():
    outer = [(8, 0.6), (15.6, 14.8), (0.4, 14.8)]
    return render([
        (triangle(outer), (168, 118, 0)),
        (lambda x, y: triangle(outer)(x, y) + 1.0, (252, 204, 36)),
        (stroke(8, 5.2, 8, 9.0, 1.05), (40, 32, 16)),
        (disc(8, 12.0, 1.1), (40, 32, 16)),
    ])


def status_icon():
    return render([
        (disc(8, 8, 7.5), (22, 66, 156)),
        (disc(8, 8, 6.5), (48, 112, 216)),
        (disc(8, 4.2, 1.15), (255, 255, 255)),
        (stroke(8, 7.3, 8, 11.6, 1.05), (255, 255, 255)),
    ])


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    for name, draw in (("error.png", error_icon), ("warning.png", warning_icon), ("status.png", status_icon)):
        with open(os.path.join(folder, name), "wb") as out:
            out.write(png_bytes(SIZE, SIZE, draw()))


if __name__ == "__main__":
    main()
