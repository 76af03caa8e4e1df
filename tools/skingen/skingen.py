#!/usr/bin/env python3
"""Draws the skin of Orvane Sound: every bitmap resource as a 24-bit BMP named
<ID>.bmp, the program icon orvane.ico, and skin_bitmaps.rc, the list of bitmap
resources that the program's resource script includes. With --sheet it also
writes a PNG contact sheet of the whole inventory, each ID under its picture.

    skingen.py OUTPUT_DIR [--sheet FILE.png]
"""
import argparse
import os
import sys

import cairo

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import backgrounds  # noqa: E402
import bmpio  # noqa: E402
import inventory  # noqa: E402
import theme as t  # noqa: E402


def render_all():
    """ID -> surface for the whole inventory; refuses a picture of the wrong
    size and an inventory ID that nothing draws."""
    drawers = inventory.drawers()
    missing = sorted(set(inventory.SIZE_OF) - set(drawers))
    extra = sorted(set(drawers) - set(inventory.SIZE_OF))
    if missing or extra:
        raise SystemExit(f"skingen: IDs without a picture {missing}, pictures without an ID {extra}")
    pictures = {}
    for ident in sorted(drawers):
        s = drawers[ident]()
        if (s.get_width(), s.get_height()) != inventory.SIZE_OF[ident]:
            raise SystemExit(f"skingen: bitmap {ident} drawn at {s.get_width()}x{s.get_height()}, "
                             f"expected {inventory.SIZE_OF[ident]}")
        pictures[ident] = s
    return pictures


def write_outputs(out, pictures):
    os.makedirs(out, exist_ok=True)
    lines = ["// Written by tools/skingen: the skin bitmaps, by resource ID."]
    for ident, s in sorted(pictures.items()):
        bmpio.write_bmp(os.path.join(out, f"{ident}.bmp"), s)
        lines.append(f'{ident} BITMAP "{ident}.bmp"')
    with open(os.path.join(out, "orvane.ico"), "wb") as f:
        f.write(bmpio.ico([backgrounds.icon(n) for n in backgrounds.ICON_SIZES]))
    with open(os.path.join(out, "skin_bitmaps.rc"), "w") as f:
        f.write("\n".join(lines) + "\n")


def contact_sheet(path, pictures, width=1500):
    """Pictures in ID order on shelves; backgrounds at most 480 pixels wide."""
    pad, caption = 14, 16
    placed, x, y, shelf = [], pad, pad + 34, 0
    for ident, s in sorted(pictures.items()):
        w, h = s.get_width(), s.get_height()
        k = min(1.0, 480.0 / w)
        dw, dh = max(int(w * k), 34), int(h * k)
        if x + dw > width - pad:
            x, y, shelf = pad, y + shelf + caption + pad, 0
        placed.append((ident, s, x, y, k))
        x += dw + pad
        shelf = max(shelf, dh)
    height = y + shelf + caption + pad
    sheet = cairo.ImageSurface(cairo.FORMAT_RGB24, width, height)
    ctx = cairo.Context(sheet)
    ctx.set_source_rgb(*t.rgb("#2a2e35"))
    ctx.paint()
    t.text(ctx, f"Orvane Sound skin: {len(pictures)} bitmaps", pad, 20, 15, t.TEXT, anchor="left")
    for ident, s, px, py, k in placed:
        ctx.save()
        ctx.translate(px, py)
        ctx.scale(k, k)
        ctx.set_source_surface(s, 0, 0)
        ctx.get_source().set_filter(cairo.FILTER_GOOD)
        ctx.paint()
        ctx.restore()
        w = max(int(s.get_width() * k), 34)
        label = str(ident) if k == 1.0 else f"{ident} ({s.get_width()}x{s.get_height()})"
        t.text(ctx, label, px + w / 2, py + s.get_height() * k + 9, 10, t.rgb("#f0f0f0"))
    sheet.write_to_png(path)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("output")
    parser.add_argument("--sheet")
    args = parser.parse_args()
    pictures = render_all()
    write_outputs(args.output, pictures)
    if args.sheet:
        contact_sheet(args.sheet, pictures)


if __name__ == "__main__":
    main()
