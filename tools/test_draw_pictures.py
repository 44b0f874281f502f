#!/usr/bin/env python3
"""Checks the program's pictures: python3 -m unittest discover -s tools -p 'test_*.py'

The files are read back with a reader of their own here, so that a fault in the writer does
not hide itself."""

import os
import struct
import sys
import unittest

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import draw_pictures  # noqa: E402

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "ui", "res")
MAGENTA = (255, 0, 255)

BITMAP_SIZES = {
    "bulb_lit.bmp": 16, "bulb_unlit.bmp": 16, "bulb_other.bmp": 16, "plus.bmp": 16,
    "default_paths.bmp": 16, "save.bmp": 16, "cancel.bmp": 16,
    "open_cache.bmp": 24, "integrate.bmp": 24,
}


def read_bmp(data):
    """(width, height, rows of RGB from the top) of a 24-bit uncompressed bitmap."""
    magic, file_size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    header, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if (magic, file_size, header, planes, bits, compression) != (b"BM", len(data), 40, 1, 24, 0):
        raise ValueError("not a plain 24-bit bitmap")
    stride = (width * 3 + 3) & ~3
    if offset + stride * abs(height) != len(data):
        raise ValueError("pixel data does not fill the file")
    rows = []
    for y in range(abs(height)):
        start = offset + y * stride
        rows.append([tuple(reversed(data[start + 3 * x:start + 3 * x + 3])) for x in range(width)])
    return width, height, rows[::-1] if height > 0 else rows


def read_ico(data):
    """(size, palette, rows of palette indices from the top, rows of mask bits from the top)."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    width, height, colours, _, planes, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6)
    if (reserved, kind, count) != (0, 1, 1) or offset + length != len(data):
        raise ValueError("not a one-image icon file")
    header, dib_width, dib_height, dib_planes, dib_bits = struct.unpack_from("<IiiHH", data, offset)
    if (header, dib_width, dib_height, dib_planes, dib_bits) != (40, width, 2 * height, 1, 4):
        raise ValueError("image header does not match the directory")
    palette_at = offset + 40
    palette = [tuple(reversed(data[palette_at + 4 * i:palette_at + 4 * i + 3])) for i in range(16)]
    colour_at = palette_at + 64
    colour_stride, mask_stride = ((width * 4 + 31) // 32) * 4, ((width + 31) // 32) * 4
    mask_at = colour_at + colour_stride * height
    if mask_at + mask_stride * height != len(data) or colours != 16:
        raise ValueError("colour image and mask do not fill the file")
    indices, mask = [], []
    for y in range(height):
        row = data[colour_at + y * colour_stride:colour_at + (y + 1) * colour_stride]
        indices.append([(row[x // 2] >> (4 if x % 2 == 0 else 0)) & 15 for x in range(width)])
        bits_row = int.from_bytes(data[mask_at + y * mask_stride:mask_at + (y + 1) * mask_stride], "big")
        mask.append([(bits_row >> (mask_stride * 8 - 1 - x)) & 1 for x in range(width)])
    return width, palette, indices[::-1], mask[::-1]


def read(name):
    with open(os.path.join(RES, name), "rb") as f:
        return f.read()


class CommittedPicturesTest(unittest.TestCase):
    def test_committed_files_are_the_generators_output(self):
        for name, data in draw_pictures.all_pictures().items():
            with self.subTest(name=name):
                self.assertEqual(read(name), data, "run tools/draw_pictures.py and commit its output")

    def test_bitmaps_have_their_size_and_a_transparent_background(self):
        for name, size in BITMAP_SIZES.items():
            with self.subTest(name=name):
                width, height, rows = read_bmp(read(name))
                self.assertEqual((width, height), (size, size))
                corners = [rows[0][0], rows[0][-1], rows[-1][0], rows[-1][-1]]
                self.assertIn(MAGENTA, corners)
                drawn = sum(pixel != MAGENTA for row in rows for pixel in row)
                self.assertGreater(drawn, size * size // 5, "too little drawn to be seen")

    def test_the_bulbs_differ_only_in_colour(self):
        _, _, lit = read_bmp(read("bulb_lit.bmp"))
        _, _, unlit = read_bmp(read("bulb_unlit.bmp"))
        for y in range(16):
            for x in range(16):
                self.assertEqual(lit[y][x] == MAGENTA, unlit[y][x] == MAGENTA, (x, y))
                r, g, b = unlit[y][x]
                self.assertTrue(unlit[y][x] == MAGENTA or r == g == b, "colour in the unlit bulb")

    def test_icon_mask_and_colours(self):
        size, palette, indices, mask = read_ico(read("mainicon.ico"))
        self.assertEqual(size, 32)
        self.assertEqual(palette, draw_pictures.ICON_PALETTE)
        for y, x in ((0, 0), (0, 31), (31, 0), (31, 31)):
            self.assertEqual(mask[y][x], 1, "corner not transparent")
        used = set()
        for y in range(size):
            for x in range(size):
                if mask[y][x]:
                    self.assertEqual(indices[y][x], 0, "colour under a transparent pixel")
                else:
                    used.add(palette[indices[y][x]])
        self.assertTrue({(0, 0, 0), (255, 255, 0)} <= used, "no black chip with yellow pins")


class WriterGuardTest(unittest.TestCase):
    def test_icon_colour_outside_the_palette_is_refused(self):
        canvas = draw_pictures.Canvas(32)
        canvas.put(3, 4, (1, 2, 3))
        with self.assertRaises(ValueError):
            draw_pictures.ico_bytes(canvas, draw_pictures.ICON_PALETTE)

    def test_ragged_pixel_grid_is_refused(self):
        with self.assertRaises(ValueError):
            draw_pictures.paint_grid(draw_pictures.Canvas(4), ["ab", "a"], {"a": (0, 0, 0), "b": (1, 1, 1)})


if __name__ == "__main__":
    unittest.main()
