#!/usr/bin/env python3
"""Converts the viewer's 24-bit BMP screenshots to PNG files.

    bmp2png.py FILE.bmp... (each written beside itself as FILE.png)
"""
import struct
import sys

import cairo


def read_bmp24(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    _, width, height, _, bits = struct.unpack_from("<IiiHH", data, 14)
    if bits != 24:
        raise ValueError(f"{path}: {bits} bits per pixel, expected 24")
    top_down = height < 0
    height = abs(height)
    stride = (width * 3 + 3) & ~3
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, width, height)
    out = surface.get_data()
    out_stride = surface.get_stride()
    for y in range(height):
        src_row = y if top_down else height - 1 - y
        row = data[offset + src_row * stride: offset + src_row * stride + width * 3]
        line = bytearray(width * 4)
        line[0::4], line[1::4], line[2::4] = row[0::3], row[1::3], row[2::3]
        out[y * out_stride:y * out_stride + width * 4] = bytes(line)
    surface.mark_dirty()
    return surface


def main(paths):
    for path in paths:
        png = path[:-4] + ".png" if path.lower().endswith(".bmp") else path + ".png"
        read_bmp24(path).write_to_png(png)
        print(png)


if __name__ == "__main__":
    main(sys.argv[1:])
