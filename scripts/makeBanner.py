#!/usr/bin/env python3
"""Draws the About page's banner: a 380 x 100, 8-bit (a palette of the few colours it has),
run-length encoded, bottom-up BMP with the LumoMarker name, a waveform and cue marks. Usage: makeBanner.py OUTPUT.bmp"""
import math
import struct
import sys

WIDTH, HEIGHT = 380, 100

# 5 x 7 pixel letters for the name.
GLYPHS = {
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
}


def background(x, y):
    t = y / (HEIGHT - 1)
    return (int(20 + 25 * t), int(24 + 40 * t), int(60 + 70 * t))  # dark blue fading down


def make():
    pixels = [[background(x, y) for x in range(WIDTH)] for y in range(HEIGHT)]

    # A waveform along the lower half.
    mid = 72
    for x in range(WIDTH):
        amp = 14 * abs(math.sin(x / 9.0)) * (0.55 + 0.45 * math.sin(x / 37.0) ** 2)
        for y in range(int(mid - amp), int(mid + amp) + 1):
            pixels[y][x] = (90, 200, 230)

    # Cue marks at the track boundaries.
    for x in (40, 131, 205, 300):
        for y in range(50, 96):
            pixels[y][x] = (255, 196, 60)
            pixels[y][x + 1] = (255, 196, 60)
        for dy in range(6):
            for dx in range(-dy, dy + 1):
                pixels[50 + dy][x + dx] = (255, 196, 60)

    # The name, three pixels a dot.
    scale, x0, y0 = 3, 14, 10
    for i, ch in enumerate("LUMOMARKER"):
        glyph = GLYPHS[ch]
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit == "1":
                    for sy in range(scale):
                        for sx in range(scale):
                            px = x0 + i * 6 * scale + gx * scale + sx
                            pixels[y0 + gy * scale + sy][px] = (245, 245, 250)
    return pixels


def rle8(rows):
    """Run-length encodes rows of palette indexes as BI_RLE8: (count, index) pairs, each row
    closed by 0 0 and the picture by 0 1."""
    data = bytearray()
    for row in rows:
        x = 0
        while x < len(row):
            run = 1
            while x + run < len(row) and run < 255 and row[x + run] == row[x]:
                run += 1
            data += bytes((run, row[x]))
            x += run
        data += b"\x00\x00"
    data[-2:] = b"\x00\x01"
    return data


def write(path, pixels):
    # Every row of the background has one colour: the picture holds about a hundred colours,
    # which a palette of 256 carries exactly, and its rows are long runs of one colour, which
    # run-length encoding (BI_RLE8, read by every Windows bitmap loader) keeps in a few KB.
    palette = sorted({colour for row in pixels for colour in row})
    assert len(palette) <= 256, len(palette)
    index = {colour: i for i, colour in enumerate(palette)}
    rows = [[index[colour] for colour in pixels[y]] for y in range(HEIGHT - 1, -1, -1)]  # bottom-up
    data = rle8(rows)
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    offset = 14 + 40 + len(table)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 8, 1, len(data), 2835, 2835, len(palette), 0)
    with open(path, "wb") as f:
        f.write(header + info + table + data)


if __name__ == "__main__":
    write(sys.argv[1], make())
