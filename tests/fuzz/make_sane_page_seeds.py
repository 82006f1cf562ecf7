#!/usr/bin/env python3
"""Writes the seed corpus of sane_page_fuzz: small well-formed pages of each
kind a scanner sends (layout in sane_page_fuzz.cpp).

Run from anywhere: python3 tests/fuzz/make_sane_page_seeds.py
"""
import pathlib
import struct

OUT = pathlib.Path(__file__).resolve().parent / "seeds" / "sane_page"
GRAY, RGB, RED, GREEN, BLUE = 0, 1, 2, 3, 4
DEPTH_INDEX = {1: 0, 8: 1, 16: 2}


def frame(kind, depth, width, lines, chunk=255, known_height=True, channels=None):
    channels = channels or (3 if kind == RGB else 1)
    bytes_per_line = (width * channels * depth + 7) // 8
    data = bytes((i * 37 + 11) % 256 for i in range(bytes_per_line * lines))
    header = struct.pack("<BBBBHHhH", kind, 0, DEPTH_INDEX[depth], chunk - 1, bytes_per_line, width,
                         lines if known_height else -1, len(data))
    return header, data


def page(*frames):
    return bytes([len(frames) - 1]) + b"".join(h for h, _ in frames) + b"".join(d for _, d in frames)


SEEDS = {
    "colour8": page(frame(RGB, 8, 5, 3)),
    "colour16": page(frame(RGB, 16, 4, 2)),
    "gray8": page(frame(GRAY, 8, 7, 3)),
    "gray16": page(frame(GRAY, 16, 3, 3)),
    "lineart": page(frame(GRAY, 1, 13, 4)),
    "hand_scanner": page(frame(GRAY, 8, 6, 5, chunk=7, known_height=False)),
    "three_pass": page(frame(RED, 8, 4, 3), frame(GREEN, 8, 4, 3), frame(BLUE, 8, 4, 3)),
}

if __name__ == "__main__":
    OUT.mkdir(parents=True, exist_ok=True)
    for name, data in SEEDS.items():
        (OUT / name).write_bytes(data)
