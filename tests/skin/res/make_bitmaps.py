#!/usr/bin/env python3
"""Writes the small test bitmaps of tests/skin (run once; the files are committed)."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def bmp24(name, width, height, pixel):
    row = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            line += bytes((b, g, r))
        line += b"\0" * (row - len(line))
        data += line
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 0, 0, 0, 0)
    fileheader = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(fileheader + header + data)


def bmp8(name, width, height, index, palette):
    row = (width + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        line = bytes(index(x, y) for x in range(width))
        data += line + b"\0" * (row - len(line))
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(data), 0, 0, 256, 0)
    offset = 14 + 40 + len(table)
    fileheader = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(fileheader + header + table + data)


def disc(width, height):
    cx, cy, r = (width - 1) / 2, (height - 1) / 2, min(width, height) / 2 - 0.5
    return lambda x, y: (0, 0, 0) if (x - cx) ** 2 + (y - cy) ** 2 <= r * r else (255, 255, 255)


QUADRANTS = [(200, 0, 0), (0, 200, 0), (0, 0, 200), (200, 200, 0)]

# Close button picture (solid) and its disc mask, the about picture (small).
bmp24("close.bmp", 26, 21, lambda x, y: (0, 160, 0))
bmp24("close_mask.bmp", 26, 21, disc(26, 21))
bmp24("about.bmp", 10, 7, lambda x, y: (250, 10, 10) if (x, y) == (0, 0) else (20, 20, 120))
# Background with four quadrants, 40 x 30.
bmp24("quadrants.bmp", 40, 30, lambda x, y: QUADRANTS[(x >= 20) + 2 * (y >= 15)])
# Strips: 14 x 102 in 18-row bands; three 10 x 10 frames red, green, blue side by side.
bmp24("strip_tall.bmp", 14, 102, lambda x, y: (y // 18 * 40, 0, 0))
bmp24("strip3.bmp", 30, 10, lambda x, y: [(255, 0, 0), (0, 255, 0), (0, 0, 255)][x // 10])
bmp24("strip2.bmp", 20, 10, lambda x, y: [(255, 0, 0), (0, 255, 0)][x // 10])
# Button state pictures, 20 x 20, one colour each, and a disc mask.
for name, colour in [("normal", (10, 10, 200)), ("down", (200, 10, 10)), ("over", (10, 200, 10)),
                     ("disabled", (100, 100, 100)), ("focus", (200, 200, 10))]:
    bmp24(f"btn_{name}.bmp", 20, 20, lambda x, y, c=colour: c)
bmp24("btn_mask.bmp", 20, 20, disc(20, 20))
# An 8-bit picture with a 256-colour table.
bmp8("paletted.bmp", 4, 4, lambda x, y: (x + 4 * y) * 16, [(i, 255 - i, i // 2) for i in range(256)])
