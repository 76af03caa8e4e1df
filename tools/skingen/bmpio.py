"""Writers for the picture formats the resource compiler takes: 24-bit BMP
files for the skin bitmaps and a multi-size ICO file for the program icon."""
import struct


def rows_bgr(surface):
    """The pixels of a cairo RGB24 or ARGB32 surface as a list of top-down
    rows of (blue, green, red) bytes."""
    surface.flush()
    width, height, stride = surface.get_width(), surface.get_height(), surface.get_stride()
    data = bytes(surface.get_data())
    rows = []
    for y in range(height):
        line = data[y * stride:y * stride + width * 4]
        row = bytearray(width * 3)
        row[0::3] = line[0::4]
        row[1::3] = line[1::4]
        row[2::3] = line[2::4]
        rows.append(bytes(row))
    return rows


def bmp24(width, height, rows):
    """A 24-bit BMP file: 14-byte file header, 40-byte info header, rows
    bottom-up, each padded to a multiple of four bytes."""
    if len(rows) != height or any(len(r) != width * 3 for r in rows):
        raise ValueError("rows do not match the picture size")
    stride = (width * 3 + 3) & ~3
    pad = b"\0" * (stride - width * 3)
    pixels = b"".join(r + pad for r in reversed(rows))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    offset = 14 + len(info)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return head + info + pixels


def write_bmp(path, surface):
    data = bmp24(surface.get_width(), surface.get_height(), rows_bgr(surface))
    with open(path, "wb") as f:
        f.write(data)


def ico_image(surface):
    """One icon image: a 32-bit BITMAPINFOHEADER image (double height for the
    AND mask), rows bottom-up with alpha, then the 1-bit AND mask."""
    surface.flush()
    size = surface.get_width()
    stride = surface.get_stride()
    data = bytes(surface.get_data())
    xor = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in reversed(range(size)):
        line = data[y * stride:y * stride + size * 4]
        bits = bytearray(mask_stride)
        for x in range(size):
            b, g, r, a = line[x * 4:x * 4 + 4]
            if a:  # cairo keeps colours premultiplied; icons want them straight
                b, g, r = (min(255, c * 255 // a) for c in (b, g, r))
            else:
                bits[x // 8] |= 0x80 >> (x % 8)
            xor += bytes((b, g, r, a))
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(mask)


def ico(surfaces):
    """An ICO file holding one image per surface (square, at most 256)."""
    images = [ico_image(s) for s in surfaces]
    head = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries = b""
    for s, img in zip(surfaces, images):
        size = s.get_width()
        entries += struct.pack("<BBBBHHII", size % 256, size % 256, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    return head + entries + b"".join(images)
