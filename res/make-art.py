#!/usr/bin/env python3
"""Draws the program's icon and status bitmaps beside this file (run once; the files are committed).

Status images: a light grey square with a grey frame holding a green tick (pass) or a red
cross (fail), at 16 pixels and at 20, 24 and 32 for 125, 150 and 200 % of 96 DPI. Icon: a
blue tile with a white envelope and a green tick badge, at 48, 32 and 16 pixels.
"""
import math
import struct
import sys
from pathlib import Path

GREY_FILL = (0xE6, 0xE6, 0xE6)
GREY_FRAME = (0x80, 0x80, 0x80)
GREEN = (0x10, 0x9A, 0x22)
RED = (0xD8, 0x10, 0x10)
BLUE = (0x1E, 0x4F, 0x9C)
WHITE = (0xFF, 0xFF, 0xFF)


def seg_dist(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    t = max(0.0, min(1.0, ((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy)))
    return math.hypot(px - (ax + t * dx), py - (ay + t * dy))


def stroke(points, width):
    segments = list(zip(points, points[1:]))
    return lambda x, y: any(seg_dist(x, y, *a, *b) <= width / 2 for a, b in segments)


def rounded_rect(x0, y0, x1, y1, r):
    def inside(x, y):
        cx = min(max(x, x0 + r), x1 - r)
        cy = min(max(y, y0 + r), y1 - r)
        return x0 <= x <= x1 and y0 <= y <= y1 and math.hypot(x - cx, y - cy) <= r

    return inside


def render(size, layers, background=None, samples=4):
    """layers: list of (shape(x, y) in 0..1 units -> bool, rgb). Returns rows of RGBA."""
    rows = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    x = (px + (sx + 0.5) / samples) / size
                    y = (py + (sy + 0.5) / samples) / size
                    colour, alpha = background, 1.0 if background else 0.0
                    for shape, rgb in layers:
                        if shape(x, y):
                            colour, alpha = rgb, 1.0
                    if alpha:
                        for i in range(3):
                            acc[i] += colour[i]
                        acc[3] += 1
            n = samples * samples
            a = acc[3] / n
            rgb = tuple(int(round(c / acc[3])) if acc[3] else 0 for c in acc[:3])
            row.append((*rgb, int(round(a * 255))))
        rows.append(row)
    return rows


def status_bitmap(size, mark, colour):
    # Frame and fill are crisp pixels; only the mark is smoothed.
    edge = 1 / size
    frame = lambda x, y: x < edge or x > 1 - edge or y < edge or y > 1 - edge
    inner = lambda x, y: not frame(x, y)
    return render(size, [(frame, GREY_FRAME), (inner, GREY_FILL), (mark, colour)], samples=4)


def write_bmp(path, rows):
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        pixels += line + bytes(stride - len(line))
    header = struct.pack('<2sIHHI', b'BM', 14 + 40 + len(pixels), 0, 0, 54)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    path.write_bytes(header + info + pixels)


def icon_image(rows):
    size = len(rows)
    xor = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack(
        '<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0
    )
    return info + xor + mask


def write_ico(path, images):
    entries, blobs = bytearray(), bytearray()
    offset = 6 + 16 * len(images)
    for rows in images:
        blob = icon_image(rows)
        size = len(rows)
        entries += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    path.write_bytes(struct.pack('<HHH', 0, 1, len(images)) + entries + blobs)


def app_icon(size):
    tile = rounded_rect(0.04, 0.04, 0.96, 0.96, 0.16)
    envelope = rounded_rect(0.16, 0.26, 0.78, 0.68, 0.03)
    flap = stroke([(0.18, 0.30), (0.47, 0.52), (0.76, 0.30)], 0.07)
    badge = lambda x, y: math.hypot(x - 0.72, y - 0.72) <= 0.22
    tick = stroke([(0.61, 0.72), (0.69, 0.80), (0.83, 0.63)], 0.075)
    return render(
        size, [(tile, BLUE), (envelope, WHITE), (flap, BLUE), (badge, GREEN), (tick, WHITE)]
    )


def main(out_dir):
    out = Path(out_dir)
    tick = stroke([(3.5 / 16, 8.5 / 16), (6.5 / 16, 11.5 / 16), (12.5 / 16, 4.5 / 16)], 2.2 / 16)
    cross = lambda x, y: (
        seg_dist(x, y, 4.5 / 16, 4.5 / 16, 11.5 / 16, 11.5 / 16) <= 1.1 / 16
        or seg_dist(x, y, 11.5 / 16, 4.5 / 16, 4.5 / 16, 11.5 / 16) <= 1.1 / 16
    )
    for size in (16, 20, 24, 32):
        suffix = '' if size == 16 else str(size)
        write_bmp(out / f'StatusPass{suffix}.bmp', status_bitmap(size, tick, GREEN))
        write_bmp(out / f'StatusFail{suffix}.bmp', status_bitmap(size, cross, RED))
    write_ico(out / 'TarnvikAnalyzer.ico', [app_icon(s) for s in (48, 32, 16)])


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent)
