#!/usr/bin/env python3
"""Draws the program icon: resources/icons/pelmora.svg and PNGs of every size the desktop asks for.

One list of shapes feeds both the SVG and a small anti-aliased rasteriser, so the scalable icon
and the bitmaps always agree. Needs only the Python standard library.

    python3 scripts/make_icons.py
"""

import math
import os
import struct
import zlib

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
VIEW = 256.0

# Colours as (r, g, b).
BLUE_TOP = (0x2D, 0x6C, 0xDF)
BLUE_BOTTOM = (0x1B, 0x3F, 0x8F)
EDGE = (0x10, 0x2A, 0x60)
RED = (0xE8, 0x4A, 0x3C)
RED_EDGE = (0x9E, 0x26, 0x1B)
ORANGE = (0xFF, 0x9A, 0x1F)
ORANGE_EDGE = (0xB3, 0x5E, 0x00)
YELLOW = (0xFF, 0xD4, 0x2A)
YELLOW_EDGE = (0xB8, 0x8A, 0x00)
WHITE = (0xFF, 0xFF, 0xFF)
GREEN = (0x1E, 0xA8, 0x4F)

# Back to front. Each shape: (kind, geometry, paint). A paint is a colour or, for the tile, a
# vertical gradient ("gradient", top colour, bottom colour, y0, y1).
TILE = ("roundrect", (16, 16, 224, 224, 48), ("gradient", BLUE_TOP, BLUE_BOTTOM, 16, 240))
SHAPES = [
    ("roundrect", (14, 14, 228, 228, 50), EDGE),
    TILE,
    ("circle", (86, 90, 46), RED_EDGE),
    ("circle", (86, 90, 42), RED),
    ("circle", (172, 82, 40), ORANGE_EDGE),
    ("circle", (172, 82, 36), ORANGE),
    ("circle", (120, 146, 70), YELLOW_EDGE),
    ("circle", (120, 146, 65), YELLOW),
    ("circle", (120, 146, 34), WHITE),
    ("polyline", ((128, 170), (160, 202), (222, 124), 42), WHITE),
    ("polyline", ((128, 170), (160, 202), (222, 124), 26), GREEN),
]


def hex_colour(c):
    return "#%02x%02x%02x" % c


def svg_text():
    out = [
        '<?xml version="1.0" encoding="UTF-8"?>',
        '<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">',
        "  <title>Pelmora</title>",
    ]
    defs = []
    body = []
    for kind, geo, paint in SHAPES:
        if isinstance(paint[0], str):
            _, top, bottom, y0, y1 = paint
            defs.append(
                '    <linearGradient id="tile" x1="0" y1="%g" x2="0" y2="%g" '
                'gradientUnits="userSpaceOnUse">' % (y0, y1))
            defs.append('      <stop offset="0" stop-color="%s"/>' % hex_colour(top))
            defs.append('      <stop offset="1" stop-color="%s"/>' % hex_colour(bottom))
            defs.append("    </linearGradient>")
            fill = "url(#tile)"
        else:
            fill = hex_colour(paint)
        if kind == "roundrect":
            x, y, w, h, r = geo
            body.append('  <rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"/>'
                        % (x, y, w, h, r, fill))
        elif kind == "circle":
            cx, cy, r = geo
            body.append('  <circle cx="%g" cy="%g" r="%g" fill="%s"/>' % (cx, cy, r, fill))
        elif kind == "polyline":
            *points, width = geo
            pts = " ".join("%g,%g" % p for p in points)
            body.append('  <polyline points="%s" fill="none" stroke="%s" stroke-width="%g" '
                        'stroke-linecap="round" stroke-linejoin="round"/>' % (pts, fill, width))
    if defs:
        out.append("  <defs>")
        out.extend(defs)
        out.append("  </defs>")
    out.extend(body)
    out.append("</svg>")
    return "\n".join(out) + "\n"


def distance(kind, geo, x, y):
    """Signed distance from (x, y) to the shape's edge in icon units; negative inside."""
    if kind == "circle":
        cx, cy, r = geo
        return math.hypot(x - cx, y - cy) - r
    if kind == "roundrect":
        rx, ry, w, h, r = geo
        hx, hy = w / 2.0, h / 2.0
        qx = abs(x - (rx + hx)) - (hx - r)
        qy = abs(y - (ry + hy)) - (hy - r)
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r
    if kind == "polyline":
        *points, width = geo
        best = float("inf")
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dx, dy = bx - ax, by - ay
            t = ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)
            t = min(max(t, 0.0), 1.0)
            best = min(best, math.hypot(x - (ax + t * dx), y - (ay + t * dy)))
        return best - width / 2.0
    raise ValueError(kind)


def paint_at(paint, y):
    if isinstance(paint[0], str):
        _, top, bottom, y0, y1 = paint
        t = min(max((y - y0) / (y1 - y0), 0.0), 1.0)
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return paint


def render(size):
    scale = size / VIEW
    rows = []
    for py in range(size):
        row = bytearray()
        y = (py + 0.5) / scale
        for px in range(size):
            x = (px + 0.5) / scale
            r = g = b = a = 0.0  # premultiplied, 0..1
            for kind, geo, paint in SHAPES:
                cover = min(max(0.5 - distance(kind, geo, x, y) * scale, 0.0), 1.0)
                if cover <= 0.0:
                    continue
                cr, cg, cb = paint_at(paint, y)
                keep = 1.0 - cover
                r = cr / 255.0 * cover + r * keep
                g = cg / 255.0 * cover + g * keep
                b = cb / 255.0 * cover + b * keep
                a = cover + a * keep
            if a > 0.0:
                row += bytes((round(r / a * 255), round(g / a * 255), round(b / a * 255),
                              round(a * 255)))
            else:
                row += b"\0\0\0\0"
        rows.append(bytes(row))
    return rows


def png_bytes(size, rows):
    def chunk(tag, data):
        return (struct.pack(">I", len(data)) + tag + data +
                struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF))

    raw = b"".join(b"\0" + row for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    folder = os.path.join(root, "resources", "icons")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "pelmora.svg"), "w", encoding="utf-8") as f:
        f.write(svg_text())
    for size in SIZES:
        with open(os.path.join(folder, "pelmora-%d.png" % size), "wb") as f:
            f.write(png_bytes(size, render(size)))


if __name__ == "__main__":
    main()
