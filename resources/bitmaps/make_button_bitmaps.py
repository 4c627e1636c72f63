#!/usr/bin/env python3
"""Draws the browse-for-folder dialog's button strips as 24-bit BMPs.

Each strip holds nine square images side by side on a magenta background
(the image list's mask colour). The dialog takes index 0 (new folder),
5 (special folders) and 8 (locate); the other places stay empty. Shapes are
described on a 16-unit grid and sampled at each pixel's centre, so every
scale gets crisp edges instead of a blurred enlargement.

    make_button_bitmaps.py OUTPUT_DIR
writes BrwsButtons16.bmp (16 px, bitmap 25975) and BrwsButtons32.bmp
(32 px, bitmap 25974).
"""
import math
import struct
import sys

MAGENTA = (255, 0, 255)
OUTLINE = (96, 64, 0)
FOLDER = (240, 196, 64)
FOLDER_LIGHT = (252, 224, 128)
GREEN = (0, 140, 0)
BLUE = (32, 80, 200)
GLASS = (200, 228, 255)
DARK = (40, 40, 40)
COUNT = 9


def inside_rect(x, y, x0, y0, x1, y1):
    return x0 <= x < x1 and y0 <= y < y1


def folder(x, y):
    """Colour of a folder shape at (x, y) on the 16-unit grid, or None."""
    if inside_rect(x, y, 1, 4, 15, 14):
        if x < 1.75 or x > 14.25 or y < 4.75 or y > 13.25:
            return OUTLINE
        return FOLDER_LIGHT if y < 6.5 else FOLDER
    if inside_rect(x, y, 1, 2.5, 7, 4):
        return OUTLINE if y < 3.25 or x < 1.75 or x > 6.25 else FOLDER_LIGHT
    return None


def new_folder(x, y):
    # A folder with a plus on its upper right corner.
    if inside_rect(x, y, 10, 0.5, 13, 9.5) or inside_rect(x, y, 7, 3.5, 16, 6.5):
        return GREEN
    return folder(x, y)


def special_folders(x, y):
    # A folder with a drop-down arrow: the button opens a menu of places.
    tip_y, top_y = 14.5, 9.5
    if top_y <= y <= tip_y:
        half = (tip_y - y) * 0.8
        if abs(x - 11.5) <= half:
            return BLUE
    return folder(x, y)


def locate(x, y):
    # A magnifying glass.
    d = math.hypot(x - 6.5, y - 6.5)
    if d <= 3.6:
        return GLASS
    if d <= 5.2:
        return DARK
    # The handle: a thick stroke from the ring towards the lower right.
    t = ((x - 10) + (y - 10)) / 2
    if 0 <= t <= 4.5 and abs((x - 10) - (y - 10)) <= 2.2:
        return BLUE
    return None


SHAPES = {0: new_folder, 5: special_folders, 8: locate}


def draw(size):
    rows = []
    for py in range(size):
        row = []
        for index in range(COUNT):
            shape = SHAPES.get(index)
            for px in range(size):
                colour = None
                if shape:
                    colour = shape((px + 0.5) * 16.0 / size, (py + 0.5) * 16.0 / size)
                row.append(colour or MAGENTA)
        rows.append(row)
    return rows


def write_bmp(path, rows):
    height = len(rows)
    width = len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray()
        for r, g, b in row:
            line += bytes((b, g, r))
        line += b"\0" * (stride - len(line))
        pixels += line
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    write_bmp(f"{out}/BrwsButtons16.bmp", draw(16))
    write_bmp(f"{out}/BrwsButtons32.bmp", draw(32))


if __name__ == "__main__":
    main()
