#!/usr/bin/env python3
"""End-to-end runs of quorvane-batch --custom and --custom-file.

usage: batch_custom_test.py QUORVANE_BATCH
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

BATCH = None


def write_bmp(path, width, height, pixels):
    """A 24-bit bottom-up BMP of rows top-down, pixels as (r, g, b)."""
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in reversed(range(height)):
        row = b"".join(bytes((b, g, r)) for r, g, b in pixels[y * width:(y + 1) * width])
        rows.append(row + b"\0" * (stride - len(row)))
    data = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def read_bmp(path):
    with open(path, "rb") as f:
        data = f.read()
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    stride = (width * 3 + 3) & ~3
    pixels = []
    for y in range(height):
        start = offset + (height - 1 - y) * stride
        for x in range(width):
            b, g, r = data[start + 3 * x:start + 3 * x + 3]
            pixels.append((r, g, b))
    return pixels


class BatchCustomTest(unittest.TestCase):
    PIXELS = [(10, 20, 30), (0, 1, 255), (7, 200, 3), (255, 255, 255)]

    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="quorvane-custom-")
        self.input = os.path.join(self.folder, "in.bmp")
        self.output = os.path.join(self.folder, "out.bmp")
        write_bmp(self.input, 2, 2, self.PIXELS)

    def tearDown(self):
        shutil.rmtree(self.folder)

    def run_batch(self, *options):
        return subprocess.run([BATCH, self.input, self.output, *options], capture_output=True, text=True)

    def test_custom_expressions_with_spaces_removed(self):
        result = self.run_batch("--custom", "2 5 5-R 1; B1 ;R12")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(read_bmp(self.output), [(245, 30, 102), (255, 255, 2), (248, 3, 72), (0, 255, 255)])

    def test_custom_file_and_steps_in_order(self):
        fil = os.path.join(self.folder, "rotate.fil")
        with open(fil, "wb") as f:
            f.write(b"B1\r\nR1\r\nG1\r\n")
        result = self.run_batch("--custom-file", fil, "--custom", "255-R1;G1;B1")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(read_bmp(self.output), [(225, 10, 20), (0, 0, 1), (252, 7, 200), (0, 255, 255)])

    def test_unreadable_filter_file_fails_in_one_line(self):
        result = self.run_batch("--custom-file", os.path.join(self.folder, "missing.fil"))
        self.assertEqual(result.returncode, 1)
        self.assertEqual(len(result.stderr.strip().splitlines()), 1, result.stderr)
        self.assertIn("missing.fil", result.stderr)
        self.assertFalse(os.path.exists(self.output))

    def test_overflow_fails_and_saves_nothing(self):
        result = self.run_batch("--custom", "R1*1E4000*1E4000;G1;B1")
        self.assertEqual(result.returncode, 1)
        self.assertIn("Floating point overflow", result.stderr)
        self.assertFalse(os.path.exists(self.output))

    def test_malformed_custom_option_is_a_usage_error(self):
        for value in ("R1;G1", "R1;G1;B1;R1"):
            result = self.run_batch("--custom", value)
            self.assertEqual(result.returncode, 2, value)
            self.assertIn("--custom takes", result.stderr)

    def test_help_lists_the_options(self):
        result = subprocess.run([BATCH, "--help"], capture_output=True, text=True)
        self.assertIn("--custom 'RED;GREEN;BLUE'", result.stdout)
        self.assertIn("--custom-file FILE.fil", result.stdout)


if __name__ == "__main__":
    BATCH = sys.argv.pop(1)
    unittest.main()
