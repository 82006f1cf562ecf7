#!/usr/bin/env python3
"""Writes the seed corpus of bmp_fuzz: one tiny file per BMP variant.

Run from anywhere: python3 tests/fuzz/make_bmp_seeds.py
"""
import pathlib
import struct

OUT = pathlib.Path(__file__).resolve().parent / "seeds" / "bmp"
WIDTH, HEIGHT = 5, 3


def padded_rows(rows):
    return b"".join(row + b"\0" * (-len(row) % 4) for row in rows)


def info_header(size, width, height, bits, compression=0, colours=0, masks=()):
    header = struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, 0, 0, 0, colours, 0)
    if size >= 52:
        header += struct.pack("<%dI" % len(masks), *masks)
    return header.ljust(size, b"\0")


def bmp(dib_header, extra, pixels):
    offset = 14 + len(dib_header) + len(extra)
    body = dib_header + extra + pixels
    return b"BM" + struct.pack("<IHHI", 14 + len(body), 0, 0, offset) + body


def palette(count, entry_size=4):
    return b"".join(bytes((i * 37 % 256, i * 91 % 256, i * 53 % 256, 0)[:entry_size]) for i in range(count))


def indexed(bits, rows_of_indices):
    rows = []
    for indices in rows_of_indices:
        value, length = 0, 0
        for index in indices:
            value = value << bits | index
            length += bits
        length_padded = -length % 8
        rows.append((value << length_padded).to_bytes((length + length_padded) // 8, "big"))
    return padded_rows(rows)


def seeds():
    grid = [[(x + y) for x in range(WIDTH)] for y in range(HEIGHT)]
    for bits in (1, 4, 8):
        count = 1 << bits if bits < 8 else 6
        pixels = indexed(bits, [[v % count for v in row] for row in grid])
        yield f"indexed{bits}.bmp", bmp(info_header(40, WIDTH, HEIGHT, bits, colours=count), palette(count), pixels)
    rle8 = bytes([2, 1, 0, 3, 2, 3, 1, 0, 0, 0, 0, 2, 1, 0, 2, 2, 0, 0, 5, 3, 0, 1])
    yield "rle8.bmp", bmp(info_header(40, WIDTH, HEIGHT, 8, 1, 4), palette(4), rle8)
    rle4 = bytes([5, 0x12, 0, 0, 0, 5, 0x31, 0x23, 0x10, 0, 0, 0, 4, 0x33, 0, 1])
    yield "rle4.bmp", bmp(info_header(40, WIDTH, HEIGHT, 4, 2, 4), palette(4), rle4)
    words = [[(x * 6151 + y * 1031) & 0xFFFF for x in range(WIDTH)] for y in range(HEIGHT)]
    pixels16 = padded_rows([struct.pack("<%dH" % WIDTH, *row) for row in words])
    yield "rgb555.bmp", bmp(info_header(40, WIDTH, HEIGHT, 16), b"", pixels16)
    yield "rgb565.bmp", bmp(info_header(40, WIDTH, HEIGHT, 16, 3), struct.pack("<3I", 0xF800, 0x07E0, 0x001F), pixels16)
    pixels24 = padded_rows([b"".join(bytes((x * 50, y * 80, (x + y) * 20)) for x in range(WIDTH))
                            for y in range(HEIGHT)])
    yield "bgr24.bmp", bmp(info_header(40, WIDTH, HEIGHT, 24), b"", pixels24)
    yield "bgr24_topdown.bmp", bmp(info_header(40, WIDTH, -HEIGHT, 24), b"", pixels24)
    pixels32 = padded_rows([b"".join(bytes((x * 50, y * 80, (x + y) * 20, 255)) for x in range(WIDTH))
                            for y in range(HEIGHT)])
    yield "bgrx32.bmp", bmp(info_header(40, WIDTH, HEIGHT, 32), b"", pixels32)
    masks1010 = (0x3FF00000, 0x000FFC00, 0x000003FF)
    yield "bitfields32.bmp", bmp(info_header(40, WIDTH, HEIGHT, 32, 3), struct.pack("<3I", *masks1010), pixels32)
    yield "alphabitfields32.bmp", bmp(info_header(40, WIDTH, HEIGHT, 32, 6),
                                      struct.pack("<4I", 0xFF0000, 0xFF00, 0xFF, 0xFF000000), pixels32)
    core = struct.pack("<IHHHH", 12, WIDTH, HEIGHT, 1, 8)
    yield "os2_core.bmp", bmp(core, palette(256, 3), indexed(8, grid))
    yield "v4_565.bmp", bmp(info_header(108, WIDTH, HEIGHT, 16, 3, masks=(0xF800, 0x07E0, 0x001F)), b"", pixels16)
    yield "v5_bgr24_topdown.bmp", bmp(info_header(124, WIDTH, -HEIGHT, 24), b"", pixels24)


def main():
    OUT.mkdir(parents=True, exist_ok=True)
    for name, data in seeds():
        (OUT / name).write_bytes(data)


if __name__ == "__main__":
    main()
