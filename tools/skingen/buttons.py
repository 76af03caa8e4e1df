"""Pictures of the skin buttons: a plate in the normal, down (pressed or
checked) or disabled look with a text or glyph label, and the mask that
gives each button its shape (black inside, white outside)."""
import math

import cairo

import theme as t


class Shape:
    """Where a button's plate lies inside its picture: a rounded rectangle
    (radius r) or a disc, anchored at the picture's top-left corner."""

    def __init__(self, w, h, r=None, disc=False):
        self.w, self.h, self.disc = w, h, disc
        self.r = min(w, h) / 2.0 if disc else (r if r is not None else min(5.0, h / 3.0))

    def path(self, ctx, inset=0.0):
        if self.disc:
            ctx.new_sub_path()
            ctx.arc(self.w / 2.0, self.h / 2.0, min(self.w, self.h) / 2.0 - inset, 0, 2 * math.pi)
        else:
            t.rounded(ctx, inset, inset, self.w - 2 * inset, self.h - 2 * inset, max(0.0, self.r - inset))


def mask(width, height, shape):
    s, ctx = t.surface(width, height)
    ctx.set_source_rgb(1, 1, 1)
    ctx.paint()
    ctx.set_antialias(cairo.ANTIALIAS_NONE)
    shape.path(ctx)
    ctx.set_source_rgb(0, 0, 0)
    ctx.fill()
    return s


TONES = {"accent": (t.ACCENT, t.ACCENT_DEEP), "red": (t.RED, t.RED_DEEP), "violet": (t.VIOLET, t.rgb("#2a1542"))}


def plate(width, height, shape, state, tone="accent"):
    """The button's body; returns the surface, its context and the colour
    the label takes."""
    s, ctx = t.surface(width, height)
    t.fill_back(ctx, width, height)
    lit, deep = TONES[tone]
    ctx.save()
    ctx.set_antialias(cairo.ANTIALIAS_NONE)
    shape.path(ctx)
    ctx.set_source_rgb(*t.rgb("#0b0d10"))
    ctx.fill()
    ctx.restore()
    if state == "disabled":
        shape.path(ctx, 1.0)
        ctx.set_source_rgb(*t.rgb("#1a1d22"))
        ctx.fill()
        return s, ctx, t.FAINT
    g = cairo.LinearGradient(0, 0, 0, shape.h)
    if state == "down":
        g.add_color_stop_rgb(0, *[c * 0.8 for c in deep])
        g.add_color_stop_rgb(1, *[min(1.0, c * 1.5) for c in deep])
    else:
        g.add_color_stop_rgb(0, *t.rgb("#353b45"))
        g.add_color_stop_rgb(1, *t.rgb("#23272e"))
    shape.path(ctx, 1.0)
    ctx.set_source(g)
    ctx.fill()
    ctx.set_line_width(1.0)
    if state == "down":
        shape.path(ctx, 1.5)
        ctx.set_source_rgba(*lit, 0.85)
        ctx.stroke()
        return s, ctx, lit
    # a thin top highlight gives the raised look
    ctx.save()
    shape.path(ctx, 1.5)
    ctx.clip()
    ctx.rectangle(0, 1, shape.w, 1.2)
    ctx.set_source_rgba(1, 1, 1, 0.10)
    ctx.fill()
    ctx.restore()
    return s, ctx, t.TEXT


def label_text(s):
    def draw(ctx, shape, colour):
        size = min(shape.h * 0.46, 13.0)
        t.text(ctx, s, shape.w / 2.0, shape.h / 2.0, size, colour, max_width=shape.w - 6)
    return draw


def glyph_speaker(ctx, cx, cy, k, colour, waves=True, cross=False):
    """A loudspeaker of height 10k, centred on (cx, cy)."""
    ctx.save()
    ctx.translate(cx - 1.5 * k, cy)
    ctx.set_source_rgb(*colour)
    ctx.move_to(-3 * k, -2 * k)
    ctx.line_to(-1 * k, -2 * k)
    ctx.line_to(2 * k, -5 * k)
    ctx.line_to(2 * k, 5 * k)
    ctx.line_to(-1 * k, 2 * k)
    ctx.line_to(-3 * k, 2 * k)
    ctx.close_path()
    ctx.fill()
    ctx.set_line_width(max(1.0, 1.1 * k))
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    if cross:
        for a, b in ((1, 1), (1, -1)):
            ctx.move_to(4 * k, -2.5 * k * a)
            ctx.line_to(8 * k, 2.5 * k * b * a)
        ctx.stroke()
    elif waves:
        for r in (3.5, 6.0):
            ctx.arc(2 * k, 0, r * k, -0.7, 0.7)
            ctx.new_sub_path()
        ctx.stroke()
    ctx.restore()


def label_mute(ctx, shape, colour):
    glyph_speaker(ctx, shape.w / 2.0, shape.h / 2.0, shape.h / 13.0, colour,
                  cross=colour != t.TEXT)


def label_link(ctx, shape, colour):
    k = shape.h / 14.0
    ctx.save()
    ctx.set_source_rgb(*colour)
    ctx.set_line_width(1.3 * k)
    for dx in (-2.4, 2.4):
        t.rounded(ctx, shape.w / 2.0 + dx * k - 3.4 * k, shape.h / 2.0 - 2.2 * k, 6.8 * k, 4.4 * k, 2.2 * k)
        ctx.stroke()
    ctx.restore()


def label_led(ctx, shape, colour):
    r = shape.h * 0.22
    cx, cy = shape.w / 2.0, shape.h / 2.0
    if colour == t.TEXT:
        ctx.arc(cx, cy, r, 0, 2 * math.pi)
        ctx.set_source_rgb(*t.rgb("#0c0e11"))
        ctx.fill_preserve()
        ctx.set_source_rgb(*t.DIM)
        ctx.set_line_width(1)
        ctx.stroke()
        return
    g = cairo.RadialGradient(cx, cy, 0, cx, cy, r * 2.2)
    g.add_color_stop_rgba(0, *colour, 1)
    g.add_color_stop_rgba(1, *colour, 0)
    ctx.arc(cx, cy, r * 2.2, 0, 2 * math.pi)
    ctx.set_source(g)
    ctx.fill()
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.set_source_rgb(*[min(1.0, c * 1.2 + 0.2) for c in colour])
    ctx.fill()


def label_headphones(ctx, shape, colour):
    k = shape.h / 26.0
    cx, cy = shape.w / 2.0, shape.h / 2.0 + 1.5 * k
    ctx.save()
    ctx.set_source_rgb(*colour)
    ctx.set_line_width(2.0 * k)
    ctx.arc(cx, cy, 7.5 * k, math.pi, 2 * math.pi)
    ctx.stroke()
    for sx in (-1, 1):
        t.rounded(ctx, cx + sx * 7.5 * k - 2.5 * k, cy - 1 * k, 5 * k, 7.5 * k, 1.5 * k)
        ctx.fill()
    ctx.restore()


def label_mic(ctx, shape, colour):
    k = shape.h / 18.0
    cx, cy = shape.w / 2.0, shape.h / 2.0 - 1.5 * k
    ctx.save()
    ctx.set_source_rgb(*colour)
    t.rounded(ctx, cx - 2.5 * k, cy - 5 * k, 5 * k, 8.5 * k, 2.5 * k)
    ctx.fill()
    ctx.set_line_width(1.2 * k)
    ctx.arc(cx, cy + 1 * k, 4.2 * k, 0, math.pi)
    ctx.stroke()
    ctx.move_to(cx, cy + 5.2 * k)
    ctx.line_to(cx, cy + 7.5 * k)
    ctx.stroke()
    ctx.restore()


def label_power(ctx, shape, colour):
    k = shape.h / 21.0
    cx, cy = shape.w / 2.0, shape.h / 2.0
    ctx.save()
    ctx.set_source_rgb(*colour)
    ctx.set_line_width(1.8 * k)
    ctx.set_line_cap(cairo.LINE_CAP_ROUND)
    ctx.arc(cx, cy + 0.5 * k, 5.5 * k, -math.pi / 2 + 0.75, 3 * math.pi / 2 - 0.75)
    ctx.stroke()
    ctx.move_to(cx, cy - 6 * k)
    ctx.line_to(cx, cy - 0.5 * k)
    ctx.stroke()
    ctx.restore()


def label_info(ctx, shape, colour):
    k = shape.h / 23.0
    cx, cy = shape.w / 2.0, shape.h / 2.0
    ctx.save()
    ctx.set_source_rgb(*colour)
    ctx.set_line_width(1.3 * k)
    ctx.arc(cx, cy, 7.5 * k, 0, 2 * math.pi)
    ctx.stroke()
    ctx.arc(cx, cy - 3.6 * k, 1.3 * k, 0, 2 * math.pi)
    ctx.fill()
    ctx.rectangle(cx - 1.1 * k, cy - 1 * k, 2.2 * k, 6 * k)
    ctx.fill()
    ctx.restore()


def label_fx(ctx, shape, colour):
    """Three equalizer sliders: the effects panel."""
    k = shape.h / 23.0
    cx, cy = shape.w / 2.0, shape.h / 2.0
    ctx.save()
    ctx.set_source_rgb(*colour)
    ctx.set_line_width(1.3 * k)
    for i, knob in enumerate((2.5, -3.0, 1.0)):
        x = cx + (i - 1) * 5 * k
        ctx.move_to(x, cy - 6.5 * k)
        ctx.line_to(x, cy + 6.5 * k)
        ctx.stroke()
        t.rounded(ctx, x - 2.2 * k, cy + knob * k - 1.4 * k, 4.4 * k, 2.8 * k, 1 * k)
        ctx.fill()
    ctx.restore()


def label_language(ctx, shape, colour):
    """Two halves, EN and CN; the lit half is the chosen language."""
    chinese = colour != t.TEXT
    half = shape.w / 2.0
    size = min(shape.h * 0.45, 11.0)
    t.text(ctx, "EN", half / 2.0 + 1, shape.h / 2.0, size, t.FAINT if chinese else t.ACCENT)
    t.text(ctx, "CN", half + half / 2.0 - 1, shape.h / 2.0, size, colour if chinese else t.FAINT)
    ctx.set_source_rgba(1, 1, 1, 0.12)
    ctx.rectangle(half - 0.5, 5, 1, shape.h - 10)
    ctx.fill()


def label_test(name):
    """A speaker-test button: the speaker's short name under a small cone."""
    def draw(ctx, shape, colour):
        glyph_speaker(ctx, shape.w / 2.0 + 1.5, shape.h * 0.33, shape.h / 30.0, colour, waves=False)
        t.text(ctx, name, shape.w / 2.0, shape.h * 0.68, shape.h * 0.30, colour, max_width=shape.w - 9)
    return draw


def picture(width, height, shape, state, label, tone="accent"):
    s, ctx, colour = plate(width, height, shape, state, tone)
    label(ctx, shape, colour)
    return s
