#!/usr/bin/env python3
"""Draws Wordlark's tray and program icon and writes it as .ico files (16, 32 and 48 pixels).

The art is drawn here, procedurally, so that it needs nothing beyond Python: a page of text with
a magnifying glass over it. The disabled icon is the same drawing in grey, lighter and partly
transparent, so that the switched-off state reads at a glance in the notification area.

Usage: make-icons.py OUTPUT_DIR  (writes MainIcon.ico and MainIconDisabled.ico)
"""
import math
import os
import struct
import sys

SIZES = (16, 32, 48)
SUPERSAMPLE = 4

PAGE = (255, 255, 255)
PAGE_EDGE = (70, 80, 95)
TEXT = (120, 135, 160)
RING = (25, 95, 205)
LENS = (150, 200, 255)
HANDLE = (190, 95, 20)


def rounded_rect(x, y, left, top, right, bottom, radius):
    cx = min(max(x, left + radius), right - radius)
    cy = min(max(y, top + radius), bottom - radius)
    return (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2


def segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(x - (ax + t * dx), y - (ay + t * dy))


def sample(x, y):
    """Colour and opacity of the drawing at (x, y) in the unit square, painted back to front."""
    colour, alpha = (0, 0, 0), 0.0

    def over(top, top_alpha):
        nonlocal colour, alpha
        out_alpha = top_alpha + alpha * (1 - top_alpha)
        if out_alpha > 0:
            colour = tuple((t * top_alpha + c * alpha * (1 - top_alpha)) / out_alpha for t, c in zip(top, colour))
        alpha = out_alpha

    if rounded_rect(x, y, 0.08, 0.04, 0.70, 0.86, 0.06):
        inner = rounded_rect(x, y, 0.13, 0.09, 0.65, 0.81, 0.03)
        over(PAGE if inner else PAGE_EDGE, 1.0)
        for line_top in (0.18, 0.31, 0.44, 0.57, 0.70):
            if 0.19 <= x <= 0.58 and line_top <= y <= line_top + 0.06:
                over(TEXT, 1.0)
    cx, cy = 0.60, 0.58
    distance = math.hypot(x - cx, y - cy)
    if distance <= 0.19:
        over(LENS, 0.45)
    if 0.19 < distance <= 0.27:
        over(RING, 1.0)
    if segment_distance(x, y, 0.79, 0.77, 0.93, 0.91) <= 0.065:
        over(HANDLE, 1.0)
    return colour, alpha


def render(size, disabled):
    """Rows top to bottom of (b, g, r, a) pixels."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = a = 0.0
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    (cr, cg, cb), ca = sample((px + (sx + 0.5) / SUPERSAMPLE) / size,
                                              (py + (sy + 0.5) / SUPERSAMPLE) / size)
                    r, g, b, a = r + cr * ca, g + cg * ca, b + cb * ca, a + ca
            n = SUPERSAMPLE * SUPERSAMPLE
            if a > 0:
                r, g, b = r / a, g / a, b / a
            a /= n
            if disabled:
                grey = 0.30 * r + 0.59 * g + 0.11 * b
                r = g = b = 96 + grey * 0.55
                a *= 0.75
            row.append((round(b), round(g), round(r), round(a * 255)))
        rows.append(row)
    return rows


def dib(rows):
    """A 32-bit icon image: header, colour rows bottom-up, then the 1-bit AND mask."""
    size = len(rows)
    colour = b"".join(bytes(pixel) for row in reversed(rows) for pixel in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, pixel in enumerate(row):
            if pixel[3] == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + colour + bytes(mask)


def write_icon(path, disabled):
    images = [dib(render(size, disabled)) for size in SIZES]
    offset = 6 + 16 * len(images)
    data = struct.pack("<HHH", 0, 1, len(images))
    for size, image in zip(SIZES, images):
        data += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    data += b"".join(images)
    with open(path, "wb") as file:
        file.write(data)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    write_icon(os.path.join(out, "MainIcon.ico"), disabled=False)
    write_icon(os.path.join(out, "MainIconDisabled.ico"), disabled=True)


if __name__ == "__main__":
    main()
