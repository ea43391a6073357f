#!/usr/bin/env python3
"""Draws the program's icon, kelpo.ico: three kelp fronds rising in a blue circle of sea.

Run it again after changing the drawing: python3 scripts/draw_icon.py src/main/kelpo.ico
Sizes 16, 32 and 48 pixels, 32-bit colour with alpha, each sampled 4x4 per pixel.
"""
import math
import struct
import sys

SEA = (0x1f, 0x6f, 0xb5)
SEA_DEEP = (0x12, 0x45, 0x80)
KELP = (0x3f, 0xa8, 0x3a)
KELP_DARK = (0x24, 0x6e, 0x22)
RIM = (0xff, 0xff, 0xff)


def frond(x, y, base_x, sway, width):
    """True when (x, y), in unit coordinates, lies on a frond rising from base_x."""
    if y < 0.14 or y > 0.9:
        return False
    height = 0.9 - y
    centre = base_x + sway * math.sin(height * 7.0)
    half = width * (0.45 + 0.55 * (1.0 - height / 0.76))
    return abs(x - centre) < half


def colour_at(x, y):
    """The colour and coverage of one sample; unit coordinates, y grows downwards."""
    dx, dy = x - 0.5, y - 0.5
    r = math.hypot(dx, dy)
    if r > 0.48:
        return None
    if r > 0.44:
        return RIM
    for base, sway, width, shade in ((0.33, 0.05, 0.055, KELP_DARK),
                                     (0.66, -0.05, 0.055, KELP_DARK),
                                     (0.5, 0.07, 0.07, KELP)):
        if frond(x, y, base, sway, width):
            return shade
    t = y  # deeper water towards the bottom
    return tuple(int(a + (b - a) * t) for a, b in zip(SEA, SEA_DEEP))


def pixels(size, samples=4):
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0, 0, 0]
            covered = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = colour_at((px + (sx + 0.5) / samples) / size, (py + (sy + 0.5) / samples) / size)
                    if c is not None:
                        covered += 1
                        for i in range(3):
                            acc[i] += c[i]
            if covered:
                row.append(tuple(v // covered for v in acc) + (255 * covered // samples ** 2,))
            else:
                row.append((0, 0, 0, 0))
        rows.append(row)
    return rows


def icon_image(size):
    """One icon image: BITMAPINFOHEADER, bottom-up BGRA pixels, AND mask."""
    rows = pixels(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b''.join(bytes((b, g, r, a)) for row in reversed(rows) for (r, g, b, a) in row)
    mask_row_bytes = ((size + 31) // 32) * 4
    mask = b''
    for row in reversed(rows):
        line = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    return header + colour + mask


def main(path):
    sizes = (16, 32, 48)
    images = [icon_image(size) for size in sizes]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in zip(sizes, images):
        data += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    data += b''.join(images)
    with open(path, 'wb') as out:
        out.write(data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'kelpo.ico')
