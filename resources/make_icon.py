#!/usr/bin/env python3
"""Draws Vantrel's icon and writes it as vantrel.ico and as PNGs, by hand.

The icon is a light-yellow page with grey lines of text, one dark-red line
lifted out of it (the extracted piece) and the window's progress bar, blue
over a grey track, along its foot. It is drawn from the shapes below at
48, 32 and 16 pixels, each at 4 bits per pixel (the 16 standard colours),
8 bits per pixel (a fixed 256-colour palette) and 32 bits per pixel (with
alpha): nine images in one file. The same 32-bit images are also written
as vantrel-16.png, vantrel-32.png and vantrel-48.png for the Linux desktop's
icon theme. Standard library only; run it again to remake the files:
python3 resources/make_icon.py
"""

import os
import struct
import zlib

SIZES = (48, 32, 16)
DEPTHS = (4, 8, 32)
SUPERSAMPLE = 4

PAGE = (255, 255, 192)
EDGE = (96, 96, 96)
FOLD = (224, 224, 160)
TEXT = (160, 160, 160)
PIECE = (192, 0, 0)
TRACK = (192, 192, 192)
BAR = (128, 128, 255)

# Shapes on a 48-unit square (3 units make a pixel at 16 x 16), painted in order: (kind, colour, coordinates).
SHAPES = [
    ("poly", EDGE, [(7, 2), (33, 2), (42, 11), (42, 46), (7, 46)]),
    ("poly", PAGE, [(9, 4), (32, 4), (40, 12), (40, 44), (9, 44)]),
    ("poly", FOLD, [(32, 4), (32, 12), (40, 12)]),
    ("poly", EDGE, [(31, 3), (33, 3), (33, 11), (41, 11), (41, 13), (31, 13)]),
    ("rect", TEXT, (12, 9, 27, 12)),
    ("rect", TEXT, (12, 15, 36, 18)),
    ("rect", PIECE, (12, 21, 36, 24)),
    ("rect", TEXT, (12, 27, 33, 30)),
    ("rect", TRACK, (4, 36, 44, 42)),
    ("rect", BAR, (4, 36, 30, 42)),
]


def inside(kind, coords, x, y):
    if kind == "rect":
        x0, y0, x1, y1 = coords
        return x0 <= x < x1 and y0 <= y < y1
    # Even-odd rule for a polygon.
    hit = False
    n = len(coords)
    for i in range(n):
        (ax, ay), (bx, by) = coords[i], coords[(i + 1) % n]
        if (ay > y) != (by > y):
            cross = ax + (y - ay) * (bx - ax) / (by - ay)
            if x < cross:
                hit = not hit
    return hit


# The 16-colour images draw each shape in the nearest of the standard colours
# that keeps it apart from its neighbours: the bar stays blue, the page white.
COLOURS_16 = {
    PAGE: (255, 255, 255),
    EDGE: (128, 128, 128),
    FOLD: (192, 192, 192),
    TEXT: (128, 128, 128),
    PIECE: (255, 0, 0),
    TRACK: (192, 192, 192),
    BAR: (0, 0, 255),
}


def render(size, samples, colours=None):
    """RGBA rows, top row first, each pixel the mean of samples x samples
    points; the shapes' colours pass through `colours` when given."""
    rows = []
    step = 48.0 / size / samples
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(samples):
                for sx in range(samples):
                    x = (px * samples + sx + 0.5) * step
                    y = (py * samples + sy + 0.5) * step
                    colour = None
                    for kind, c, coords in SHAPES:
                        if inside(kind, coords, x, y):
                            colour = colours[c] if colours else c
                    if colour is not None:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        a += 1
            if a:
                pixel = (round(r / a), round(g / a), round(b / a),
                         round(255 * a / samples ** 2))
            else:
                pixel = (0, 0, 0, 0)
            row.append(pixel)
        rows.append(row)
    return rows


# The 16 standard colours, in their usual order.
PALETTE_16 = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
# The 16 standard colours, a 6 x 6 x 6 colour cube, then 24 greys: 256.
PALETTE_256 = (
    PALETTE_16
    + [(r, g, b) for r in range(0, 256, 51) for g in range(0, 256, 51)
       for b in range(0, 256, 51)]
    + [(8 + 10 * i,) * 3 for i in range(24)])
# The icon's own colours, exactly, in place of the cube's last entries, so
# that the 8-bit images show the page and the bar as drawn.
for i, colour in enumerate((PAGE, FOLD, TEXT, PIECE, BAR, EDGE)):
    PALETTE_256[16 + 215 - i] = colour
assert len(PALETTE_256) == 256


def nearest(palette, rgb):
    return min(range(len(palette)),
               key=lambda i: sum((p - c) ** 2 for p, c in zip(palette[i], rgb)))


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def pack_bits(values, bits):
    """Packs small numbers into bytes, first value in the high bits."""
    out = bytearray()
    acc = count = 0
    for v in values:
        acc = (acc << bits) | v
        count += bits
        if count == 8:
            out.append(acc)
            acc = count = 0
    if count:
        out.append(acc << (8 - count))
    return bytes(out)


def bitmap(rows, depth):
    """One icon image: header, palette, colour bits and mask, bottom-up."""
    size = len(rows)
    palette = {4: PALETTE_16, 8: PALETTE_256}.get(depth)
    colour = bytearray()
    mask = bytearray()
    for row in reversed(rows):
        if depth == 32:
            line = b"".join(struct.pack("4B", b, g, r, a)
                            for r, g, b, a in row)
        else:
            indices = [nearest(palette, p[:3]) if p[3] >= 128 else 0
                       for p in row]
            line = pack_bits(indices, depth)
        colour += line.ljust(row_bytes(size * depth), b"\0")
        transparent = [1 if p[3] < 128 else 0 for p in row]
        mask += pack_bits(transparent, 1).ljust(row_bytes(size), b"\0")
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, depth, 0,
                         len(colour) + len(mask), 0, 0,
                         len(palette) if palette else 0, 0)
    table = b"".join(struct.pack("4B", b, g, r, 0)
                     for r, g, b in palette) if palette else b""
    return header + table + bytes(colour) + bytes(mask)


def png(rows):
    """A PNG file of RGBA rows: 8 bits per channel, no filter, no interlace.
    Nothing varies between runs (no time stamp), so remaking it gives the
    same bytes."""
    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data
                + struct.pack(">I", zlib.crc32(kind + data)))
    size = len(rows)
    raw = b"".join(b"\0" + b"".join(struct.pack("4B", *p) for p in row)
                   for row in rows)
    return (b"\x89PNG\r\n\x1a\n"
            + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9))
            + chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    images = []
    for size in SIZES:
        smooth = render(size, SUPERSAMPLE)
        with open(os.path.join(here, "vantrel-%d.png" % size), "wb") as f:
            f.write(png(smooth))
        # Blended edges have no place in 16 colours: one sample per pixel.
        plain = render(size, 1, COLOURS_16)
        for depth in DEPTHS:
            images.append((size, depth, bitmap(plain if depth == 4 else smooth,
                                               depth)))
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    data = b""
    for size, depth, image in images:
        colours = 16 if depth == 4 else 0
        directory += struct.pack("<BBBBHHII", size, size, colours, 0, 1,
                                 depth, len(image), offset + len(data))
        data += image
    with open(os.path.join(here, "vantrel.ico"), "wb") as f:
        f.write(directory + data)


if __name__ == "__main__":
    main()
