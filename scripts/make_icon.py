#!/usr/bin/env python3
"""Draws the program icon (a gold key on a blue rounded tile, 32x32, 32-bit) and writes it
as res/Tarvelin.ico, and as res/tarvelin-cli.ico with the image PNG-compressed (as icons may
be since Windows Vista): a fifth of the size, for the console program, which counts its bytes.
Standard library only; the output is committed, so the build does not need Python. Run it
again after changing the drawing."""
import math
import struct
import sys
import zlib

SIZE = 32
SAMPLES = 4  # supersampling per axis, for smooth edges


def rounded_square(x, y):
    r = 6.0
    cx = min(max(x, r + 1), SIZE - 1 - r)
    cy = min(max(y, r + 1), SIZE - 1 - r)
    return math.hypot(x - cx, y - cy) <= r


def key(x, y):
    # Ring of the bow, upper left.
    d = math.hypot(x - 11.0, y - 11.0)
    if 3.0 <= d <= 7.0:
        return True
    # Shaft along the diagonal towards the lower right, 3 px thick.
    t = ((x - 11.0) + (y - 11.0)) / 2.0
    off = abs((x - 11.0) - (y - 11.0)) / math.sqrt(2.0)
    if 5.0 <= t <= 16.5 and off <= 1.7:
        return True
    # Two teeth, pointing down and left from the shaft.
    for tt in (11.0, 15.0):
        bx, by = 11.0 + tt, 11.0 + tt
        u = ((x - bx) - (y - by)) / math.sqrt(2.0)  # across the shaft
        v = ((x - bx) + (y - by)) / math.sqrt(2.0)  # along the shaft
        if -4.5 <= u <= 0 and abs(v) <= 1.2:
            return True
    return False


def pixel(px, py):
    bg = key_c = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            x = px + (sx + 0.5) / SAMPLES
            y = py + (sy + 0.5) / SAMPLES
            if rounded_square(x, y):
                if key(x, y):
                    key_c += 1
                else:
                    bg += 1
    n = SAMPLES * SAMPLES
    cover = (bg + key_c) / n
    if cover == 0:
        return (0, 0, 0, 0)
    # Blue tile, lighter towards the top; gold key.
    shade = py / SIZE
    tile = (int(40 + 30 * (1 - shade)), int(110 + 50 * (1 - shade)), int(205 + 40 * (1 - shade)))
    gold = (250, 200, 60)
    k = key_c / (bg + key_c)
    r, g, b = (int(tile[i] * (1 - k) + gold[i] * k) for i in range(3))
    return (r, g, b, int(round(255 * cover)))


def ico():
    rows = []
    for py in range(SIZE - 1, -1, -1):  # DIB rows run bottom-up
        for px in range(SIZE):
            r, g, b, a = pixel(px, py)
            rows.append(struct.pack("BBBB", b, g, r, a))
    xor = b"".join(rows)
    and_mask = bytes(SIZE * 4)  # 32 bits per row, all opaque: alpha decides
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(image), 6 + 16)
    return directory + entry + image


def png_ico():
    # A PNG image in place of the DIB: 32-bit RGBA, rows top-down, no mask (alpha decides).
    raw = b"".join(b"\0" + b"".join(struct.pack("BBBB", *pixel(px, py)) for px in range(SIZE))
                   for py in range(SIZE))

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", SIZE, SIZE, 8, 6, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 32, len(png), 6 + 16)
    return directory + entry + png


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else "res"
    with open(f"{folder}/Tarvelin.ico", "wb") as f:
        f.write(ico())
    with open(f"{folder}/tarvelin-cli.ico", "wb") as f:
        f.write(png_ico())
