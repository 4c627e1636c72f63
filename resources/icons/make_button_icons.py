#!/usr/bin/env python3
"""Draws the browse-for-folder dialog's three button icons as .ico files.

Each file holds the same picture at 16, 24, 32 and 48 pixels, 32-bit with an
alpha channel, so that the dialog loads the size that fits the screen's
resolution instead of stretching a small image. Shapes are described on a
16-unit grid and sampled four by four times per pixel: edges come out smooth
at every size, and no size is an enlargement of another.

    make_button_icons.py OUTPUT_DIR
writes BrwsNewFolder.ico (icon 25977), BrwsLocate.ico (icon 25978) and
BrwsPlacesMenu.ico (icon 25979).
"""
import math
import struct
import sys

OUTLINE = (96, 64, 0)
FOLDER = (240, 196, 64)
FOLDER_LIGHT = (252, 224, 128)
GREEN = (0, 140, 0)
BLUE = (32, 80, 200)
GLASS = (200, 228, 255)
DARK = (40, 40, 40)
SIZES = (16, 24, 32, 48)
SAMPLES = 4


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


ICONS = {
    "BrwsNewFolder.ico": new_folder,
    "BrwsLocate.ico": locate,
    "BrwsPlacesMenu.ico": special_folders,
}


def pixel(shape, size, px, py):
    """(b, g, r, a) of one pixel: the covered samples' mean colour and coverage."""
    total = [0, 0, 0]
    covered = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = (px + (sx + 0.5) / SAMPLES) * 16.0 / size
            y = (py + (sy + 0.5) / SAMPLES) * 16.0 / size
            colour = shape(x, y)
            if colour:
                covered += 1
                for i in range(3):
                    total[i] += colour[i]
    if not covered:
        return (0, 0, 0, 0)
    r, g, b = (round(c / covered) for c in total)
    return (b, g, r, round(255 * covered / (SAMPLES * SAMPLES)))


def image(shape, size):
    """One icon image: its header, colour rows (bottom-up) and mask rows."""
    rows = [[pixel(shape, size, px, py) for px in range(size)] for py in range(size)]
    colour = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for px, (b, g, r, a) in enumerate(row):
            colour += bytes((b, g, r, a))
            if a == 0:
                bits[px // 8] |= 0x80 >> (px % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + mask


def write_ico(path, shape):
    images = [image(shape, size) for size in SIZES]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, data in zip(SIZES, images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(directory + b"".join(images))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    for name, shape in ICONS.items():
        write_ico(f"{out}/{name}", shape)


if __name__ == "__main__":
    main()
