#!/usr/bin/env python3
"""End-to-end runs of quorvane-batch: files in, files out, exit codes and
messages, checked against libjpeg's own djpeg and cjpeg where they exist.

usage: batch_test.py QUORVANE_BATCH SAMPLE.jpg
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

BATCH = SAMPLE = None


def read(path):
    with open(path, "rb") as f:
        return f.read()


def run(*arguments):
    return subprocess.run([BATCH, *arguments], capture_output=True, text=True)


def bmp_pixels(path):
    """(width, height, rows top-down as RGB bytes) of a 24-bit bottom-up BMP."""
    data = read(path)
    assert data[:2] == b"BM"
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height = struct.unpack_from("<ii", data, 18)
    assert struct.unpack_from("<H", data, 28)[0] == 24
    stride = (width * 3 + 3) & ~3
    rows = []
    for y in range(height):
        row = data[offset + (height - 1 - y) * stride: offset + (height - 1 - y) * stride + width * 3]
        rows.append(bytes(b for i in range(0, len(row), 3) for b in (row[i + 2], row[i + 1], row[i])))
    return width, height, b"".join(rows)


def ppm_pixels(data):
    parts = data.split(maxsplit=4)
    assert parts[0] == b"P6"
    return int(parts[1]), int(parts[2]), parts[4]


def write_ppm(path, width, height, pixels):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (width, height) + pixels)


SANE_TEST_CONFIG = "/etc/sane.d/test.conf"


def scanner_ready():
    """SANE's test device, scanimage and our source manager next to the batch tool."""
    return (os.path.exists(SANE_TEST_CONFIG) and shutil.which("scanimage") is not None
            and os.path.exists(os.path.join(os.path.dirname(BATCH), "TWAIN_32.DLL")))


def scanimage(env):
    """scanimage's page; the test backend's reader thread can deadlock scanimage
    itself when it ends a frame, so a run that does not finish is tried again."""
    for _ in range(3):
        try:
            return subprocess.run(["scanimage", "-d", "test:0", "--format=pnm"], capture_output=True, check=True,
                                  env=env, timeout=10).stdout
        except subprocess.TimeoutExpired:
            pass
    raise AssertionError("scanimage did not finish three times")


class BatchTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="quorvane-batch-")

    def tearDown(self):
        shutil.rmtree(self.folder)

    def path(self, name):
        return os.path.join(self.folder, name)

    def test_help_lists_the_usage(self):
        result = run("--help")
        self.assertEqual(result.returncode, 0)
        self.assertIn("usage: quorvane-batch INPUT OUTPUT", result.stdout)
        self.assertIn("--select", result.stdout)

    @unittest.skipUnless(shutil.which("djpeg"), "djpeg is not installed")
    def test_jpeg_to_bmp_decodes_as_djpeg_does(self):
        result = run(SAMPLE, self.path("out.bmp"))
        self.assertEqual(result.returncode, 0, result.stderr)
        reference = subprocess.run(["djpeg", "-ppm", SAMPLE], capture_output=True, check=True).stdout
        self.assertEqual(bmp_pixels(self.path("out.bmp")), ppm_pixels(reference))

    @unittest.skipUnless(shutil.which("cjpeg"), "cjpeg is not installed")
    def test_bmp_to_jpeg_encodes_as_cjpeg_does(self):
        self.assertEqual(run(SAMPLE, self.path("in.bmp")).returncode, 0)
        width, height, pixels = bmp_pixels(self.path("in.bmp"))
        write_ppm(self.path("in.ppm"), width, height, pixels)
        reference = subprocess.run(["cjpeg", "-quality", "90", "-baseline", self.path("in.ppm")],
                                   capture_output=True, check=True).stdout
        result = run(self.path("in.bmp"), self.path("out.JPG"))
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(read(self.path("out.JPG")), reference)

    def test_bmp_round_trip_and_selection_rule(self):
        self.assertEqual(run(SAMPLE, self.path("a.bmp")).returncode, 0)
        result = run(self.path("a.bmp"), self.path("b.bmp"), "--select", "120,90,20,30")
        self.assertEqual(result.returncode, 0)
        self.assertIn("Nothing selected. Selecting all.", result.stderr)
        self.assertEqual(read(self.path("a.bmp")), read(self.path("b.bmp")))

    def test_filters_run_in_order_and_repeat_with_a_seed(self):
        runs = []
        for name in ("a.bmp", "b.bmp"):
            result = run(SAMPLE, self.path(name), "--select", "10,10,300,200", "--seed", "77",
                         "--filter", "noise-add", "--filter", "sharpness-increase", "--feather", "255,0,0")
            self.assertEqual(result.returncode, 0, result.stderr)
            runs.append(read(self.path(name)))
        self.assertEqual(runs[0], runs[1])
        self.assertEqual(run(SAMPLE, self.path("c.bmp"), "--select", "10,10,300,200", "--seed", "78",
                             "--filter", "noise-add").returncode, 0)
        self.assertNotEqual(read(self.path("c.bmp")), runs[0])

    def test_statistics_go_to_standard_output(self):
        result = run(SAMPLE, self.path("s.bmp"), "--filter", "grayscale", "--statistics")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("Dimensions: 640 X 480\n", result.stdout)
        self.assertNotIn("\r", result.stdout)

    def test_a_flat_image_cannot_be_optimized(self):
        self.assertEqual(run(SAMPLE, self.path("flat.bmp"), "--feather", "0,0,0", "--filter", "black-and-white",
                             "--select", "0,0,9,9", "--filter", "black-and-white").returncode, 0)
        result = run(self.path("flat.bmp"), self.path("out.bmp"), "--select", "1,1,5,5", "--filter", "optimize")
        self.assertEqual(result.returncode, 1)
        self.assertIn("Floating point division by zero.", result.stderr)
        self.assertFalse(os.path.exists(self.path("out.bmp")))

    def test_resize_doubles_pixels_and_smooths_only_an_enlargement(self):
        result = run(SAMPLE, self.path("small.bmp"), "--select", "100,100,119,109", "--filter", "crop")
        self.assertEqual(result.returncode, 0, result.stderr)
        width, height, pixels = bmp_pixels(self.path("small.bmp"))
        self.assertEqual((width, height), (20, 10))

        # A selection made before the resize is replaced by the whole image.
        result = run(self.path("small.bmp"), self.path("doubled.bmp"), "--select", "2,2,5,5", "--resize", "40,20")
        self.assertEqual(result.returncode, 0, result.stderr)
        doubled = bmp_pixels(self.path("doubled.bmp"))
        expected = b"".join(pixels[3 * (y // 2 * width + x // 2): 3 * (y // 2 * width + x // 2) + 3]
                            for y in range(20) for x in range(40))
        self.assertEqual(doubled, (40, 20, expected))

        # With smooth, the mean pass runs exactly when either side grows.
        cases = [("40,20", True), ("40,8", True), ("10,5", False), ("20,10", False)]
        for size, grows in cases:
            with self.subTest(size=size):
                smooth = run(self.path("small.bmp"), self.path("smooth.bmp"), "--resize", size + ",smooth")
                self.assertEqual(smooth.returncode, 0, smooth.stderr)
                plain = ["--resize", size] + (["--filter", "noise-remove"] if grows else [])
                result = run(self.path("small.bmp"), self.path("plain.bmp"), *plain)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(bmp_pixels(self.path("smooth.bmp")), bmp_pixels(self.path("plain.bmp")))

    def configure_test_scanner(self, **changes):
        """A private SANE configuration with only the test device, keys of its test.conf changed."""
        folder = self.path("sane")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, "dll.conf"), "w") as f:
            f.write("test\n")
        with open(SANE_TEST_CONFIG) as system, open(os.path.join(folder, "test.conf"), "w") as config:
            for line in system:
                key = line.split(" ")[0].replace("-", "_")
                config.write(f"{line.split(' ')[0]} {changes[key]}\n" if key in changes else line)
        return dict(os.environ, SANE_CONFIG_DIR=folder)

    def test_scanner_input_saves_the_page_scanimage_gives(self):
        if not scanner_ready():
            self.skipTest("SANE's test device or our source manager is missing")
        env = self.configure_test_scanner(mode="Color", test_picture='"Color pattern"')
        result = subprocess.run([BATCH, "scanner:", self.path("page.bmp"), "--filter", "invert-all"],
                                capture_output=True, text=True, env=env)
        self.assertEqual(result.returncode, 0, result.stderr)
        page = scanimage(env)
        width, height, pixels = ppm_pixels(page.replace(b"# SANE data follows\n", b""))
        self.assertEqual(bmp_pixels(self.path("page.bmp")), (width, height, bytes(255 - b for b in pixels)))

    def test_a_jammed_scanner_gives_no_file_and_says_why(self):
        if not scanner_ready():
            self.skipTest("SANE's test device or our source manager is missing")
        env = self.configure_test_scanner(read_status_code='"SANE_STATUS_JAMMED"')
        result = subprocess.run([BATCH, "scanner:", self.path("page.bmp")], capture_output=True, text=True, env=env)
        self.assertEqual(result.returncode, 1)
        self.assertIn("The paper is jammed in the document feeder.", result.stderr)
        self.assertFalse(os.path.exists(self.path("page.bmp")))

    def test_refusals_and_errors_leave_the_output_alone(self):
        with open(self.path("keep.bmp"), "wb") as f:
            f.write(b"precious")
        with open(self.path("broken.bmp"), "wb") as f:
            f.write(b"BM" + b"\0" * 40)
        cases = [
            ((self.path("missing.bmp"), self.path("keep.bmp")), 1, "Cannot open file"),
            ((self.path("broken.bmp"), self.path("keep.bmp")), 1, "BMP"),
            ((self.path("picture.jpeg"), self.path("keep.bmp")), 1, "You must specify a BMP or JPG file."),
            ((SAMPLE, self.path("out.png")), 1, "You must specify a .BMP or .JPG file. example: MyPic.bmp"),
            ((SAMPLE,), 2, "give one INPUT and one OUTPUT file"),
            ((SAMPLE, self.path("x.bmp"), "--select", "1,2,3"), 2, "--select takes"),
            ((SAMPLE, self.path("x.bmp"), "--resize", "0,20"), 2, "--resize takes"),
            ((SAMPLE, self.path("x.bmp"), "--resize", "20,10,sharp"), 2, "--resize takes"),
            ((SAMPLE, self.path("x.bmp"), "--filter", "no-such-filter"), 2, "unknown filter no-such-filter"),
            ((SAMPLE, self.path("x.bmp"), "--bogus"), 2, "unknown option --bogus"),
        ]
        for arguments, status, message in cases:
            with self.subTest(arguments=arguments):
                result = run(*arguments)
                self.assertEqual(result.returncode, status, result.stderr)
                self.assertIn(message, result.stderr)
                self.assertEqual(len(result.stderr.strip().splitlines()), 1, result.stderr)
        self.assertEqual(read(self.path("keep.bmp")), b"precious")
        self.assertFalse(os.path.exists(self.path("out.png")))
        self.assertFalse(os.path.exists(self.path("x.bmp")))


if __name__ == "__main__":
    BATCH, SAMPLE = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
