"""Colours, fonts and drawing primitives of the Orvane skin: one dark look
shared by every window and both skin sets."""
import math

import cairo


def rgb(hex_colour):
    v = int(hex_colour.lstrip("#"), 16)
    return ((v >> 16) & 255) / 255.0, ((v >> 8) & 255) / 255.0, (v & 255) / 255.0


BACK_TOP = rgb("#181b21")
BACK_BOTTOM = rgb("#0f1115")
CARD = rgb("#1e2229")
CARD_EDGE = rgb("#2b313a")
WELL = rgb("#0a0c0f")
TEXT = rgb("#dde2ea")
DIM = rgb("#8c95a3")
FAINT = rgb("#4b525d")
ACCENT = rgb("#36c6f0")
ACCENT_DEEP = rgb("#0d3441")
VIOLET = rgb("#b064ff")
RED = rgb("#ff4f62")
RED_DEEP = rgb("#3f1016")
FONT = "DejaVu Sans"


def surface(width, height):
    s = cairo.ImageSurface(cairo.FORMAT_RGB24, width, height)
    return s, cairo.Context(s)


def fill_back(ctx, width, height):
    g = cairo.LinearGradient(0, 0, 0, height)
    g.add_color_stop_rgb(0, *BACK_TOP)
    g.add_color_stop_rgb(1, *BACK_BOTTOM)
    ctx.set_source(g)
    ctx.rectangle(0, 0, width, height)
    ctx.fill()


def rounded(ctx, x, y, w, h, r):
    r = max(0.0, min(r, w / 2.0, h / 2.0))
    ctx.new_sub_path()
    ctx.arc(x + w - r, y + r, r, -math.pi / 2, 0)
    ctx.arc(x + w - r, y + h - r, r, 0, math.pi / 2)
    ctx.arc(x + r, y + h - r, r, math.pi / 2, math.pi)
    ctx.arc(x + r, y + r, r, math.pi, 3 * math.pi / 2)
    ctx.close_path()


def card(ctx, x, y, w, h, r=6.0, fill=CARD, edge=CARD_EDGE):
    """A raised panel section: a soft fill with a one-pixel edge."""
    rounded(ctx, x + 0.5, y + 0.5, w - 1, h - 1, r)
    ctx.set_source_rgb(*fill)
    ctx.fill_preserve()
    ctx.set_source_rgb(*edge)
    ctx.set_line_width(1)
    ctx.stroke()


def well(ctx, x, y, w, h, r=3.0):
    """A recessed area: a dark inset with a faint lower highlight."""
    rounded(ctx, x + 0.5, y + 0.5, w - 1, h - 1, r)
    ctx.set_source_rgb(*WELL)
    ctx.fill_preserve()
    ctx.set_source_rgb(*rgb("#050607"))
    ctx.set_line_width(1)
    ctx.stroke()
    ctx.move_to(x + r, y + h - 0.5)
    ctx.line_to(x + w - r, y + h - 0.5)
    ctx.set_source_rgba(1, 1, 1, 0.06)
    ctx.stroke()


def text(ctx, s, cx, cy, size, colour=TEXT, bold=True, max_width=None, anchor="centre"):
    """Draws s with its ink centred vertically on cy; horizontally centred on
    cx, or starting (anchor "left") or ending ("right") there. Text wider than
    max_width is narrowed down to 70 % before the size is reduced."""
    ctx.save()
    ctx.select_font_face(FONT, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    opts = cairo.FontOptions()
    opts.set_antialias(cairo.ANTIALIAS_GRAY)
    opts.set_hint_style(cairo.HINT_STYLE_SLIGHT)
    opts.set_hint_metrics(cairo.HINT_METRICS_ON)
    ctx.set_font_options(opts)
    ext = ctx.text_extents(s)
    scale = 1.0
    if max_width and ext.width > max_width:
        scale = max(0.7, max_width / ext.width)
        if ext.width * scale > max_width:
            ctx.set_font_size(size * max_width / (ext.width * scale))
            ext = ctx.text_extents(s)
    width = ext.width * scale
    left = {"centre": cx - width / 2, "left": cx, "right": cx - width}[anchor]
    fe = ctx.font_extents()
    cap = fe[0] * 0.72  # ink height of capitals and digits
    ctx.translate(round(left - ext.x_bearing * scale), round(cy + cap / 2))
    ctx.scale(scale, 1)
    ctx.move_to(0, 0)
    ctx.set_source_rgb(*colour)
    ctx.show_text(s)
    ctx.new_path()  # no current point left behind for the next path
    ctx.restore()
    return width


def text_width(ctx, s, size, bold=True):
    ctx.save()
    ctx.select_font_face(FONT, cairo.FONT_SLANT_NORMAL,
                         cairo.FONT_WEIGHT_BOLD if bold else cairo.FONT_WEIGHT_NORMAL)
    ctx.set_font_size(size)
    w = ctx.text_extents(s).width
    ctx.restore()
    return w
