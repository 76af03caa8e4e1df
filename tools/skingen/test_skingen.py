"""Unit tests of the skin generator's own logic: the BMP and ICO writers,
the template-to-picture mapping and the fitting of labels."""
import struct
import unittest

import cairo

import backgrounds
import bmpio
import layout
import theme


def solid(width, height, rgb, fmt=cairo.FORMAT_RGB24, alpha=1.0):
    s = cairo.ImageSurface(fmt, width, height)
    ctx = cairo.Context(s)
    ctx.set_source_rgba(*rgb, alpha)
    ctx.set_operator(cairo.OPERATOR_SOURCE)
    ctx.paint()
    return s


class BmpWriter(unittest.TestCase):
    def test_header_and_padded_bottom_up_rows(self):
        rows = [bytes([1, 2, 3] * 5), bytes([9, 8, 7] * 5)]  # top row, bottom row
        data = bmpio.bmp24(5, 2, rows)
        magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data)
        self.assertEqual(magic, b"BM")
        self.assertEqual(size, len(data))
        self.assertEqual(offset, 54)
        hsize, w, h, planes, bits, comp, isize = struct.unpack_from("<IiiHHII", data, 14)
        self.assertEqual((hsize, w, h, planes, bits, comp), (40, 5, 2, 1, 24, 0))
        self.assertEqual(isize, 2 * 16)  # 15 bytes a row, padded to 16
        self.assertEqual(data[54:54 + 15], rows[1])  # the file starts with the bottom row
        self.assertEqual(data[54 + 15], 0)
        self.assertEqual(data[70:70 + 15], rows[0])

    def test_rows_of_the_wrong_size_are_refused(self):
        with self.assertRaises(ValueError):
            bmpio.bmp24(2, 2, [bytes(6)])
        with self.assertRaises(ValueError):
            bmpio.bmp24(2, 1, [bytes(5)])

    def test_surface_pixels_become_blue_green_red(self):
        rows = bmpio.rows_bgr(solid(3, 2, (1.0, 0.0, 0.5)))
        self.assertEqual(len(rows), 2)
        self.assertEqual(rows[0][:3], bytes([128, 0, 255]))


class IcoWriter(unittest.TestCase):
    def test_directory_lists_each_size_with_its_image(self):
        surfaces = [solid(n, n, (0.2, 0.4, 0.6), cairo.FORMAT_ARGB32) for n in (16, 48)]
        data = bmpio.ico(surfaces)
        reserved, kind, count = struct.unpack_from("<HHH", data)
        self.assertEqual((reserved, kind, count), (0, 1, 2))
        for i, n in enumerate((16, 48)):
            w, h, _, _, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
            self.assertEqual((w, h, planes, bits), (n, n, 1, 32))
            self.assertEqual(offset + size <= len(data), True)
            hsize, iw, ih = struct.unpack_from("<Iii", data, offset)
            self.assertEqual((hsize, iw, ih), (40, n, 2 * n))  # colour and mask halves
            mask_stride = ((n + 31) // 32) * 4
            self.assertEqual(size, 40 + n * n * 4 + n * mask_stride)

    def test_transparent_pixels_are_masked_and_colours_unpremultiplied(self):
        s = solid(16, 16, (1.0, 0.0, 0.0), cairo.FORMAT_ARGB32, alpha=0.5)
        ctx = cairo.Context(s)
        ctx.set_operator(cairo.OPERATOR_CLEAR)
        ctx.rectangle(0, 0, 1, 16)  # first column fully transparent
        ctx.fill()
        image = bmpio.ico_image(s)
        b, g, r, a = image[40 + 4:40 + 8]  # second pixel of the bottom row
        self.assertEqual((b, g, r), (0, 0, 255))
        self.assertIn(a, (127, 128))
        mask = image[40 + 16 * 16 * 4:]
        self.assertEqual(mask[0] & 0x80, 0x80)  # first pixel: transparent
        self.assertEqual(mask[0] & 0x40, 0)     # second: drawn


class TemplateMapping(unittest.TestCase):
    def test_dialog_units_scale_to_the_stretched_picture(self):
        m = layout.Map(652, 450, *layout.MAIN_SIZE)
        self.assertAlmostEqual(m.x(374), 652)
        self.assertAlmostEqual(m.y(278), 450)
        x, y, w, h = m.rect(187, 139, 187, 139)
        self.assertAlmostEqual(x, 326)
        self.assertAlmostEqual(y + h, 450)


class LabelFitting(unittest.TestCase):
    def ink_columns(self, s):
        rows = bmpio.rows_bgr(s)
        return [x for x in range(s.get_width()) if any(r[x * 3] > 60 for r in rows)]

    def test_wide_text_stays_inside_its_width(self):
        s, ctx = theme.surface(80, 20)
        width = theme.text(ctx, "176.4K", 40, 10, 12, (1, 1, 1), max_width=24)
        self.assertLessEqual(width, 24.01)
        cols = self.ink_columns(s)
        self.assertGreaterEqual(cols[0], 40 - 13)
        self.assertLessEqual(cols[-1], 40 + 13)

    def test_anchors_place_the_text(self):
        s, ctx = theme.surface(100, 20)
        theme.text(ctx, "EQ", 10, 10, 12, (1, 1, 1), anchor="left")
        self.assertIn(self.ink_columns(s)[0], (9, 10, 11))
        s, ctx = theme.surface(100, 20)
        theme.text(ctx, "EQ", 90, 10, 12, (1, 1, 1), anchor="right")
        self.assertIn(self.ink_columns(s)[-1], (88, 89, 90))


class MainBackground(unittest.TestCase):
    """The labels and grooves land where the template puts their controls."""

    def light_in(self, surface, rect, threshold=150):
        rows = bmpio.rows_bgr(surface)
        x, y, w, h = (int(round(v)) for v in rect)
        return sum(1 for yy in range(y, y + h) for xx in range(x, x + w)
                   if max(rows[yy][xx * 3:xx * 3 + 3]) > threshold)

    def test_each_strip_label_sits_in_its_label_box_in_both_sets(self):
        for size in ((652, 450), (844, 593)):
            s = backgrounds.main_background(*size)
            m = layout.Map(*size, *layout.MAIN_SIZE)
            for name, box, _, _ in layout.PLAYBACK:
                self.assertGreater(self.light_in(s, m.rect(*box)), 10, f"{name} at {size}")
            # and nothing light between the label row and the faders' tops
            self.assertEqual(self.light_in(s, m.rect(8, 37, 30, 10)), 0)

    def test_grooves_run_under_the_thumbs(self):
        s = backgrounds.main_background(652, 450)
        m = layout.Map(652, 450, *layout.MAIN_SIZE)
        rows = bmpio.rows_bgr(s)
        for _, _, _, faders in layout.PLAYBACK:
            for fader in faders:
                x, y, w, h = m.rect(*fader)
                cx = int(round(x) + layout.GROOVE_CENTRE)
                mid = int(y + h / 2)
                self.assertLess(max(rows[mid][cx * 3:cx * 3 + 3]), 20)  # the dark slot


if __name__ == "__main__":
    unittest.main()
