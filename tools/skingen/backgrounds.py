"""Backgrounds of the four windows, the fader track and thumbs, the mono
scale and the program icon. A background carries everything the controls do
not draw themselves: strip labels, section titles, fader grooves and scales."""
import math

import cairo

import layout as L
import skintable
import theme as t


def groove(ctx, m, fader, width=4.0):
    """The slot a fader's thumb runs in, centred under the thumb."""
    x, y, w, h = m.rect(*fader)
    cx = round(x) + L.GROOVE_CENTRE
    top, bottom = y + 6, y + h - 6
    t.well(ctx, cx - width / 2, top, width, bottom - top, width / 2)
    return cx, top + 3, bottom - 3


def ticks(ctx, x0, x1, top, bottom, count=11, major=(0, 5, 10)):
    """Scale marks from top to bottom between x0 and x1 (x1 < x0 points left)."""
    ctx.save()
    ctx.set_line_width(1)
    for i in range(count):
        y = round(top + (bottom - top) * i / (count - 1)) + 0.5
        length = 1.0 if i in major else 0.55
        ctx.move_to(x0, y)
        ctx.line_to(x0 + (x1 - x0) * length, y)
        ctx.set_source_rgba(*t.DIM, 0.9 if i in major else 0.45)
        ctx.stroke()
    ctx.restore()


def fader_pair(ctx, m, faders):
    """Grooves of one strip with the scale between a pair, or to the right
    of a single fader."""
    slots = [groove(ctx, m, f) for f in faders]
    if len(slots) == 2:
        (l, top, bottom), (r, _, _) = slots
        gap = r - l
        ticks(ctx, l + 4, l + gap / 2 - 1, top, bottom)
        ticks(ctx, r - 4, r - gap / 2 + 1, top, bottom)
    else:
        c, top, bottom = slots[0]
        ticks(ctx, c + 4, c + 9, top, bottom)


def title(ctx, m, s, cx, cy, anchor="centre", colour=t.DIM, scale=1.0):
    return t.text(ctx, s, m.x(cx), m.y(cy), 5.2 * m.sy * scale, colour, anchor=anchor)


def brand(ctx, x, y, size):
    """The Orvane mark: a ring fading from cyan to violet around three bars."""
    ctx.save()
    ctx.translate(x, y)
    g = cairo.LinearGradient(-size / 2, -size / 2, size / 2, size / 2)
    g.add_color_stop_rgb(0, *t.ACCENT)
    g.add_color_stop_rgb(1, *t.VIOLET)
    ctx.set_source(g)
    ctx.set_line_width(max(1.5, size * 0.11))
    ctx.arc(0, 0, size * 0.42, 0, 2 * math.pi)
    ctx.stroke()
    bar = size * 0.11
    for i, hgt in enumerate((0.32, 0.52, 0.24)):
        ctx.rectangle((i - 1) * bar * 1.7 - bar / 2, -size * hgt / 2, bar, size * hgt)
    ctx.fill()
    ctx.restore()


def main_background(width, height):
    s, ctx = t.surface(width, height)
    m = L.Map(width, height, *L.MAIN_SIZE)
    t.fill_back(ctx, width, height)
    # title bar
    ctx.rectangle(0, 0, width, m.y(16))
    ctx.set_source_rgb(*t.rgb("#1b1f26"))
    ctx.fill()
    ctx.rectangle(0, round(m.y(16)), width, 1)
    ctx.set_source_rgb(*t.CARD_EDGE)
    ctx.fill()
    brand(ctx, m.x(292), m.y(8), m.y(11))
    t.text(ctx, "ORVANE", m.x(300), m.y(8), 5.6 * m.sy, t.TEXT, anchor="left")
    # playback and recording strips
    for name, box, (x0, x1), faders in L.PLAYBACK + [L.RECORDING]:
        t.card(ctx, *m.rect(x0, L.STRIP_TOP, x1 - x0, L.STRIP_BOTTOM - L.STRIP_TOP), r=0.9 * m.sx * 4)
        bx, by, bw, bh = box
        colour = t.ACCENT if name == "Master" else (t.VIOLET if name == "Recording" else t.TEXT)
        t.text(ctx, name, m.x(bx + bw / 2), m.y(by + bh / 2 - 1), 5.4 * m.sy, colour,
               max_width=m.x(x1 - x0) - 6)
        fader_pair(ctx, m, faders)
    # lower left: S/PDIF modes and sample rate
    t.card(ctx, *m.rect(*L.LEFT_CARD), r=0.9 * m.sx * 4)
    title(ctx, m, "S/PDIF", 18.5, 161)
    title(ctx, m, "SAMPLE RATE", 57, 161)
    t.well(ctx, *m.rect(*L.RATE_DISPLAY), r=3)
    title(ctx, m, "MODE", 18.5, 182, colour=t.FAINT, scale=0.85)
    # speakers and speaker test
    t.card(ctx, *m.rect(*L.SPEAKER_CARD), r=0.9 * m.sx * 4)
    title(ctx, m, "SPEAKERS", 92, 161, anchor="left")
    title(ctx, m, "TEST", 190, 161, anchor="right")
    cx, cy = m.x(L.TEST_CENTRE[0]), m.y(L.TEST_CENTRE[1])
    ctx.save()
    ctx.set_line_width(1)
    for r, a in ((m.x(30), 0.10), (m.x(18), 0.06)):
        ctx.save()
        ctx.translate(cx, cy)
        ctx.scale(1, m.y(1) / m.x(1))
        ctx.new_sub_path()
        ctx.arc(0, 0, r, 0, 2 * math.pi)
        ctx.restore()
        ctx.set_source_rgba(*t.ACCENT, a)
        ctx.stroke()
    ctx.restore()
    title(ctx, m, "EFFECT", 117, 255.5, anchor="left", colour=t.FAINT, scale=0.85)
    # output channels
    t.card(ctx, *m.rect(*L.OUTPUT_CARD), r=0.9 * m.sx * 4)
    for name, centre, faders in L.OUTPUTS:
        t.text(ctx, name, m.x(centre), m.y(161), 5.2 * m.sy, t.TEXT, max_width=m.x(19) if len(faders) == 1 else None)
        fader_pair(ctx, m, faders)
    for x in (241.5, 282.5, 324.5):
        ctx.rectangle(round(m.x(x)), m.y(158), 1, m.y(98))
        ctx.set_source_rgb(*t.CARD_EDGE)
        ctx.fill()
    return s


def effects_background(width, height):
    s, ctx = t.surface(width, height)
    m = L.Map(width, height, *L.EFFECTS_SIZE)
    t.fill_back(ctx, width, height)
    brand(ctx, m.x(7), m.y(4.5), m.y(6.5))
    t.text(ctx, "SOUND EFFECTS", m.x(12), m.y(4.5), 5.0 * m.sy, t.TEXT, anchor="left")
    cards = [("SPREAD", 4, 42), ("ROOM", 46, 82), ("EQUALIZER", 86, 228)]
    for name, x0, x1 in cards:
        t.card(ctx, *m.rect(x0, 10, x1 - x0, 106), r=7)
        title(ctx, m, name, (x0 + x1) / 2, 14.2, scale=0.9, colour=t.ACCENT if name == "EQUALIZER" else t.DIM)
    for slider in (L.SPREAD_SLIDER, L.INTENSITY_SLIDER):
        c, top, bottom = groove(ctx, m, slider)
        ticks(ctx, c + 4, c + 9, top, bottom)
        ticks(ctx, c - 4, c - 9, top, bottom)
    # equalizer: level lines for +12, 0 and -12 dB behind the bands
    slots = [groove(ctx, m, (x, L.BAND_Y, 12, L.BAND_H)) for x, _ in L.BANDS]
    _, top, bottom = slots[0]
    for y, label in ((top, "+12"), ((top + bottom) / 2, "0"), (bottom, "-12")):
        ctx.rectangle(slots[0][0] - 8, round(y), slots[-1][0] - slots[0][0] + 16, 1)
        ctx.set_source_rgba(*t.DIM, 0.25)
        ctx.fill()
        t.text(ctx, label, slots[0][0] - 10, y, 4.0 * m.sy, t.DIM, bold=False, anchor="right")
    for (c, _, _), (_, label) in zip(slots, L.BANDS):
        t.text(ctx, label, c, m.y(97.6), 3.9 * m.sy, t.TEXT)
    t.text(ctx, "Hz", slots[0][0] - 10, m.y(97.6), 4.0 * m.sy, t.DIM, bold=False, anchor="right")
    # environment row
    t.card(ctx, *m.rect(4, 120, 224, 32), r=7)
    title(ctx, m, "ENVIRONMENT", 14, 125.6, anchor="left", scale=0.9)
    return s


def preset_background(width, height):
    s, ctx = t.surface(width, height)
    m = L.Map(width, height, *L.PRESET_SIZE)
    t.fill_back(ctx, width, height)
    brand(ctx, m.x(8.5), m.y(4.6), m.y(5.5))
    t.text(ctx, "EQ PRESETS", m.x(13), m.y(4.6), 4.6 * m.sy, t.TEXT, anchor="left")
    x, y, w, h = m.rect(6, 9, 65, 63)
    t.well(ctx, x - 3, y - 3, w + 6, h + 6, 4)
    t.card(ctx, *m.rect(77, 3, 51, 72), r=7)
    return s


def about_background(width, height):
    s, ctx = t.surface(width, height)
    t.fill_back(ctx, width, height)
    g = cairo.RadialGradient(96, 120, 10, 96, 120, 190)
    g.add_color_stop_rgba(0, *t.ACCENT, 0.16)
    g.add_color_stop_rgba(1, *t.ACCENT, 0.0)
    ctx.set_source(g)
    ctx.paint()
    brand(ctx, 96, 112, 104)
    t.text(ctx, "ORVANE SOUND", 186, 66, 24, t.TEXT, anchor="left")
    t.text(ctx, "Multichannel PCI audio control panel", 187, 92, 11, t.DIM, bold=False, anchor="left")
    t.text(ctx, "Version 6.1", 187, 110, 11, t.ACCENT, anchor="left")
    ctx.rectangle(187, 128, 230, 1)
    ctx.set_source_rgb(*t.CARD_EDGE)
    ctx.fill()
    lines = ["Orvane Audio Labs", "27 Lantern Quay, Harwick Bay", "support@orvane-audio.example",
             "www.orvane-audio.example", "Tel. +44 1632 960 418"]
    for i, line in enumerate(lines):
        t.text(ctx, line, 187, 146 + 19 * i, 11.5 if i == 0 else 10.5, t.TEXT if i == 0 else t.DIM,
               bold=i == 0, anchor="left")
    # The panel's client area may end some rows above the picture's bottom
    # (its size follows the dialog font), so nothing is drawn in the last 24 rows.
    t.text(ctx, "\u00a9 2026 Orvane Audio Labs. All rights reserved.", width / 2, height - 36, 9.5, t.FAINT,
           bold=False)
    return s


def fader_track(width, height):
    s, ctx = t.surface(width, height)
    ctx.set_source_rgb(*t.CARD)
    ctx.paint()
    t.well(ctx, width / 2 - 2, 6, 4, height - 12, 2)
    ticks(ctx, width / 2 + 4, width / 2 + 9, 9, height - 9)
    ticks(ctx, width / 2 - 4, width / 2 - 9, 9, height - 9)
    return s


def thumb_strip(width, height, frame=9):
    """Fader caps, one per 9-pixel frame: normal, hover, pressed, and the
    normal cap again in the frames nobody shows."""
    s, ctx = t.surface(width, height)
    ctx.set_source_rgb(*t.CARD)
    ctx.paint()
    looks = [("#c9ced6", "#7d8591", t.rgb("#2d333c")), ("#eef1f5", "#9aa3af", t.ACCENT),
             ("#36c6f0", "#1685a8", t.rgb("#e9fbff"))]
    for i in range(height // frame):
        top_c, bottom_c, line = looks[i] if i < 3 else looks[0]
        y = i * frame
        g = cairo.LinearGradient(0, y, 0, y + frame)
        g.add_color_stop_rgb(0, *t.rgb(top_c))
        g.add_color_stop_rgb(1, *t.rgb(bottom_c))
        t.rounded(ctx, 0.5, y + 0.5, width - 1, frame - 1, 2)
        ctx.set_source(g)
        ctx.fill_preserve()
        ctx.set_source_rgb(*t.rgb("#0b0d10"))
        ctx.set_line_width(1)
        ctx.stroke()
        ctx.rectangle(2, y + frame // 2, width - 4, 1)
        ctx.set_source_rgb(*line)
        ctx.fill()
    return s


def mono_scale(width, height):
    """Shown in place of the right recording fader on the mono Mic page."""
    s, ctx = t.surface(width, height)
    ctx.set_source_rgb(*t.CARD)
    ctx.paint()
    ticks(ctx, 2, 8, 8, height - 8)
    ctx.save()
    ctx.translate(width / 2 + 4, height / 2)
    ctx.rotate(-math.pi / 2)
    t.text(ctx, "MONO", 0, 0, 8, t.FAINT)
    ctx.restore()
    return s


def icon(size):
    s = cairo.ImageSurface(cairo.FORMAT_ARGB32, size, size)
    ctx = cairo.Context(s)
    r = size * 0.2
    t.rounded(ctx, 0, 0, size, size, r)
    g = cairo.LinearGradient(0, 0, 0, size)
    g.add_color_stop_rgb(0, *t.rgb("#262b34"))
    g.add_color_stop_rgb(1, *t.rgb("#111318"))
    ctx.set_source(g)
    ctx.fill()
    brand(ctx, size / 2, size / 2, size * (0.98 if size <= 24 else 0.86))  # small icons: the mark fills them
    return s


ICON_SIZES = (16, 20, 24, 32, 48)


def drawers():
    """ID -> function drawing the picture at the skin table's size."""
    kinds = {181: main_background, 484: main_background, 409: effects_background, 389: preset_background,
             413: about_background, 165: fader_track, 171: thumb_strip, 328: mono_scale}
    return {i: (lambda f=f, i=i: f(*skintable.SIZE_OF[i])) for i, f in kinds.items()}
