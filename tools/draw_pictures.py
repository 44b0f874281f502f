#!/usr/bin/env python3
"""Draws the program's pictures and writes them into src/ui/res/.

Every picture is drawn here from shapes and small pixel grids; run the script again after
changing one and commit its output with it. The output is the same byte for byte on every run.

  mainicon.ico       32x32, 16 colours, AND mask: a black chip with yellow pins, lying diagonally
  bulb_lit.bmp       16x16: a lit light bulb            (list rows)
  bulb_unlit.bmp     16x16: the same bulb, unlit       (rows of packages already in place)
  bulb_other.bmp     16x16: the unlit bulb, a red "!"  (rows of packages installed in another version)
  plus.bmp           16x16: a green plus sign          ("Select All")
  open_cache.bmp     24x24: a folder, green arrow down ("Open cache")
  integrate.bmp      24x24: a metal cylinder on a cog  ("Integrate selected")
  default_paths.bmp  16x16: a gold cylinder            ("Default paths")
  save.bmp           16x16: a green tick               ("Save")
  cancel.bmp         16x16: a red cross                ("Cancel")

The bitmaps are 24-bit; magenta (255, 0, 255) is their transparent colour.
"""

import math
import os
import struct
import sys

MAGENTA = (255, 0, 255)


class Canvas:
    """A grid of RGB pixels; None is transparent."""

    def __init__(self, size):
        self.size = size
        self.pixels = [[None] * size for _ in range(size)]

    def get(self, x, y):
        if 0 <= x < self.size and 0 <= y < self.size:
            return self.pixels[y][x]
        return None

    def put(self, x, y, colour):
        if 0 <= x < self.size and 0 <= y < self.size:
            self.pixels[y][x] = colour


def mask_from(size, inside):
    """The set of pixels whose centre satisfies inside(x, y)."""
    return {(x, y) for y in range(size) for x in range(size) if inside(x + 0.5, y + 0.5)}


def is_edge(mask, x, y):
    return any((x + dx, y + dy) not in mask for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))


def paint_bevelled(canvas, mask, outline, light, mid, shade):
    """Fills a shape lit from the top left: a one-pixel outline, a light inner rim along the
    upper and left edges, a shaded rim along the lower and right edges."""
    for x, y in mask:
        if is_edge(mask, x, y):
            colour = outline
        elif is_edge(mask, x, y - 1) or is_edge(mask, x - 1, y):
            colour = light
        elif is_edge(mask, x, y + 1) or is_edge(mask, x + 1, y):
            colour = shade
        else:
            colour = mid
        canvas.put(x, y, colour)


def paint_grid(canvas, rows, colours, left=0, top=0):
    """Copies a pixel grid; '.' leaves the canvas as it is."""
    for y, row in enumerate(rows):
        if len(row) != len(rows[0]):
            raise ValueError(f"grid row {y} is {len(row)} wide, not {len(rows[0])}")
        for x, key in enumerate(row):
            if key != ".":
                canvas.put(left + x, top + y, colours[key])


def near_segment(px, py, ax, ay, bx, by, radius):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy)) <= radius


def in_ellipse(px, py, cx, cy, rx, ry):
    return ((px - cx) / rx) ** 2 + ((py - cy) / ry) ** 2 <= 1.0


# ---- the light bulbs -------------------------------------------------------------------------

BULB = [
    ".....OOOOOO.....",
    "...OOggggggOO...",
    "..OggyyyyyyggO..",
    ".OgyWWyyyyyyygO.",
    ".OgyWyyyyyyyygO.",
    "OgyWyyFFFFyyyygO",
    "OgyyyyPyyPyyyygO",
    "OgyyyyPyyPyyyygO",
    ".OgyyyPyyPyyygO.",
    ".OggyyPyyPyyggO.",
    "..OOggyyyyggOO..",
    "....OOggggOO....",
    "....DLLLLLLD....",
    "....DMMMMMMD....",
    "....DLLLLLLD....",
    "......KKKK......",
]

LIT_COLOURS = {
    "O": (230, 120, 0),    # the glow at the rim of the glass
    "g": (255, 190, 60),   # warm glass near the rim
    "y": (255, 255, 170),  # pale yellow glass
    "W": (255, 255, 255),  # reflection
    "F": (255, 140, 0),    # the glowing filament
    "P": (235, 185, 110),  # the filament's wires
    "L": (200, 200, 200),  # screw base, light thread
    "M": (150, 150, 150),  # screw base, dark thread
    "D": (100, 100, 100),  # screw base, outline
    "K": (60, 60, 60),     # contact
}

UNLIT_COLOURS = dict(
    LIT_COLOURS,
    O=(110, 110, 110),
    g=(170, 170, 170),
    y=(215, 215, 215),
    F=(120, 120, 120),
    P=(160, 160, 160),
)


def draw_bulb(colours):
    canvas = Canvas(16)
    paint_grid(canvas, BULB, colours)
    return canvas


# An exclamation mark in the bottom right corner, beside the screw base.
OTHER_VERSION_MARK = [
    "kRRk",
    "kRRk",
    "kRRk",
    "kRRk",
    ".kk.",
    "....",
    "kRRk",
    ".kk.",
]


def draw_other_version_bulb():
    canvas = draw_bulb(UNLIT_COLOURS)
    paint_grid(canvas, OTHER_VERSION_MARK, {"R": (220, 30, 30), "k": (90, 0, 0)}, left=12, top=8)
    return canvas


# ---- signs -----------------------------------------------------------------------------------

def draw_plus():
    canvas = Canvas(16)
    bar = 2.5
    mask = mask_from(16, lambda x, y: (abs(x - 8) <= bar and 1 <= y <= 15)
                     or (abs(y - 8) <= bar and 1 <= x <= 15))
    paint_bevelled(canvas, mask, (0, 90, 0), (120, 230, 120), (30, 170, 30), (10, 120, 10))
    return canvas


def draw_tick():
    canvas = Canvas(16)
    mask = mask_from(16, lambda x, y: near_segment(x, y, 2.5, 8.5, 6.5, 12.5, 1.9)
                     or near_segment(x, y, 6.5, 12.5, 13.5, 3.0, 1.9))
    paint_bevelled(canvas, mask, (0, 90, 0), (120, 230, 120), (30, 170, 30), (10, 120, 10))
    return canvas


def draw_cross():
    canvas = Canvas(16)
    mask = mask_from(16, lambda x, y: near_segment(x, y, 3.5, 3.5, 12.5, 12.5, 1.9)
                     or near_segment(x, y, 12.5, 3.5, 3.5, 12.5, 1.9))
    paint_bevelled(canvas, mask, (120, 0, 0), (255, 120, 110), (220, 30, 20), (160, 10, 0))
    return canvas


# ---- cylinders -------------------------------------------------------------------------------

def paint_cylinder(canvas, cx, top, bottom, rx, ry, body_shades, top_face, outline):
    """An upright cylinder: ellipse centres at top and bottom, radii rx and ry. body_shades are
    vertical bands from the lit left side to the dark right side."""
    size = canvas.size
    body = mask_from(size, lambda x, y: (abs(x - cx) <= rx and top <= y <= bottom)
                     or in_ellipse(x, y, cx, bottom, rx, ry))
    lid = mask_from(size, lambda x, y: in_ellipse(x, y, cx, top, rx, ry))
    shape = body | lid
    for x, y in body:
        band = int((x + 0.5 - (cx - rx)) / (2 * rx) * len(body_shades))
        canvas.put(x, y, body_shades[max(0, min(band, len(body_shades) - 1))])
    for x, y in lid:
        canvas.put(x, y, top_face)
    for x, y in shape:
        if is_edge(shape, x, y):
            canvas.put(x, y, outline)
    # The rim of the lid where it meets the body.
    for x, y in lid:
        if (x, y + 1) not in lid and (x, y + 1) in body:
            canvas.put(x, y, outline)


def draw_gold_cylinder():
    canvas = Canvas(16)
    paint_cylinder(canvas, 8, 4.5, 12, 5.5, 2.6,
                   [(225, 175, 40), (255, 220, 90), (230, 175, 30), (195, 140, 10), (150, 100, 0)],
                   (255, 245, 190), (110, 70, 0))
    return canvas


def paint_cog(canvas, cx, cy, rx, ry, tooth_depth, rim_depth, teeth):
    """A cog wheel lying flat, seen from above at a slant: a disc with teeth tooth_depth pixels
    long round its edge, and its side showing rim_depth pixels below the face."""
    size = canvas.size

    def toothed(x, y, centre_y):
        dx, dy = (x - cx) / rx, (y - centre_y) / ry
        on_tooth = math.cos(math.atan2(dy, dx) * teeth) > 0.1
        inner_x, inner_y = rx - tooth_depth, ry - tooth_depth * ry / rx
        return in_ellipse(x, y, cx, centre_y, inner_x, inner_y) or (on_tooth and dx * dx + dy * dy <= 1.0)

    face = mask_from(size, lambda x, y: toothed(x, y, cy))
    rim = set()
    for step in range(1, rim_depth + 1):
        rim |= mask_from(size, lambda x, y, s=step: toothed(x, y, cy + s))
    rim -= face
    whole = face | rim
    for x, y in face:
        canvas.put(x, y, (255, 225, 40))
    for x, y in rim:
        canvas.put(x, y, (200, 145, 0))
    for x, y in whole:
        # The outline, and the front edge of the face where it meets the side below it.
        if is_edge(whole, x, y) or ((x, y) in face and (x, y + 1) in rim):
            canvas.put(x, y, (110, 70, 0))


def draw_integrate():
    canvas = Canvas(24)
    paint_cog(canvas, 12, 16.5, 11.5, 6.0, 3.0, 2, 10)
    paint_cylinder(canvas, 12, 3, 14, 4.5, 2.0,
                   [(170, 175, 185), (230, 233, 240), (185, 190, 200), (145, 150, 160),
                    (110, 115, 125)],
                   (215, 220, 228), (50, 55, 65))
    return canvas


# ---- the folder ------------------------------------------------------------------------------

FOLDER = [
    ".OOOOOOO................",
    "OttttttTO...............",
    "OttttttttTOOOOOOOOOOOO..",
    "ObbbbbbbbbbbbbbbbbbbbbO.",
    "ObbbbbbbbbbbbbbbbbbbbbO.",
    "ObbOOOOOOOOOOOOOOOOOOOOO",
    "ObOffffffffffffffffffffO",
    "ObOfFFFFFFFFFFFFFFFFFFsO",
    "OOfFFFFFFFFFFFFFFFFFFFsO",
    "OOfFFFFFFFFFFFFFFFFFFsO.",
    "OfFFFFFFFFFFFFFFFFFFFsO.",
    "OfFFFFFFFFFFFFFFFFFFsO..",
    "OfFFFFFFFFFFFFFFFFFFsO..",
    "OfssssssssssssssssssO...",
    "OOOOOOOOOOOOOOOOOOOOO...",
]

FOLDER_COLOURS = {
    "O": (120, 80, 10),    # outline
    "t": (230, 180, 70),   # tab
    "T": (200, 150, 40),   # tab, shaded side
    "b": (205, 155, 45),   # back panel
    "f": (255, 235, 150),  # front panel, lit edge
    "F": (250, 210, 100),  # front panel
    "s": (215, 165, 55),   # front panel, shaded edge
}


def draw_open_cache():
    canvas = Canvas(24)
    paint_grid(canvas, FOLDER, FOLDER_COLOURS, left=0, top=8)
    arrow = mask_from(24, lambda x, y: (abs(x - 14) <= 2.2 and 0.5 <= y <= 7.5)
                      or (7.5 <= y <= 14.5 and abs(x - 14) <= (14.5 - y) * 0.9 + 0.4))
    paint_bevelled(canvas, arrow, (0, 90, 0), (120, 230, 120), (30, 170, 30), (10, 120, 10))
    return canvas


# ---- the program icon ------------------------------------------------------------------------

# The 16 colours of the icon, in the usual order of the 4-bit palette.
ICON_PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]


def draw_chip():
    canvas = Canvas(32)
    centre = 16.0
    cos45 = sin45 = math.sqrt(0.5)

    def local(x, y):
        """Pixel centre in the chip's own frame, turned back by 45 degrees."""
        dx, dy = x - centre, y - centre
        return dx * cos45 + dy * sin45, -dx * sin45 + dy * cos45

    half_body = 7.6
    pin_reach = 12.2
    pin_centres = (-4.4, 0.0, 4.4)
    pin_half_width = 1.0

    def on_pin(u, v):
        for along, across in ((u, v), (v, u)):
            # Pins start under the body so that no gap opens between pin and body.
            if half_body - 1.5 <= abs(across) <= pin_reach:
                if any(abs(along - p) <= pin_half_width for p in pin_centres):
                    return True
        return False

    body = mask_from(32, lambda x, y: max(map(abs, local(x, y))) <= half_body)
    pins = mask_from(32, lambda x, y: on_pin(*local(x, y)))
    for x, y in body:
        u, v = local(x + 0.5, y + 0.5)
        rim = max(abs(u), abs(v)) > half_body - 1.1
        canvas.put(x, y, (128, 128, 128) if rim else (0, 0, 0))
    # The pins cover the rim where they leave the body, so that each reads as one piece with it.
    for x, y in pins:
        if canvas.get(x, y) != (0, 0, 0):
            canvas.put(x, y, (255, 255, 0))
    # The mark beside pin 1.
    for x, y in mask_from(32, lambda x, y: math.hypot(*(a - b for a, b in zip(local(x, y), (-4.3, -4.3)))) <= 1.3):
        canvas.put(x, y, (192, 192, 192))
    return canvas


# ---- file formats ----------------------------------------------------------------------------

def bmp_bytes(canvas):
    """A 24-bit bottom-up Windows bitmap; transparent pixels become magenta."""
    size = canvas.size
    stride = (size * 3 + 3) & ~3
    rows = bytearray()
    for y in reversed(range(size)):
        row = bytearray()
        for x in range(size):
            r, g, b = canvas.get(x, y) or MAGENTA
            row += bytes((b, g, r))
        rows += row + bytes(stride - len(row))
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(rows), 0, 0, header_size)
    info_header = struct.pack("<IiiHHIIiiII", 40, size, size, 1, 24, 0, len(rows), 2835, 2835, 0, 0)
    return file_header + info_header + bytes(rows)


def ico_bytes(canvas, palette):
    """A one-image icon file: 4-bit colour image plus AND mask (1 = transparent)."""
    size = canvas.size
    index_of = {colour: i for i, colour in enumerate(palette)}
    colour_rows = bytearray()
    mask_rows = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for y in reversed(range(size)):
        indices = []
        mask_bits = 0
        for x in range(size):
            colour = canvas.get(x, y)
            if colour is None:
                indices.append(0)  # black under a set mask bit leaves the screen unchanged
                mask_bits |= 1 << (size - 1 - x)
            else:
                if colour not in index_of:
                    raise ValueError(f"icon colour {colour} at ({x}, {y}) is not in the palette")
                indices.append(index_of[colour])
        row = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        colour_rows += row + bytes((-len(row)) % 4)
        mask_rows += (mask_bits << (mask_stride * 8 - size)).to_bytes(mask_stride, "big")
    palette_bytes = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    image_size = len(colour_rows) + len(mask_rows)
    # The height counts the colour image and the mask together.
    info_header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, image_size, 0, 0, 0, 0)
    image = info_header + palette_bytes + bytes(colour_rows) + bytes(mask_rows)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, len(palette), 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def all_pictures():
    """File name -> file bytes, for every picture the program uses."""
    return {
        "mainicon.ico": ico_bytes(draw_chip(), ICON_PALETTE),
        "bulb_lit.bmp": bmp_bytes(draw_bulb(LIT_COLOURS)),
        "bulb_unlit.bmp": bmp_bytes(draw_bulb(UNLIT_COLOURS)),
        "bulb_other.bmp": bmp_bytes(draw_other_version_bulb()),
        "plus.bmp": bmp_bytes(draw_plus()),
        "open_cache.bmp": bmp_bytes(draw_open_cache()),
        "integrate.bmp": bmp_bytes(draw_integrate()),
        "default_paths.bmp": bmp_bytes(draw_gold_cylinder()),
        "save.bmp": bmp_bytes(draw_tick()),
        "cancel.bmp": bmp_bytes(draw_cross()),
    }


def default_output_folder():
    return os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src", "ui", "res")


def main(argv):
    folder = argv[1] if len(argv) > 1 else default_output_folder()
    os.makedirs(folder, exist_ok=True)
    for name, data in all_pictures().items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
