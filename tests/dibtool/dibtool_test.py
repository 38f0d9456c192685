#!/usr/bin/env python3
"""End-to-end tests of dibtool, checked against Pillow's own decoding.

usage: dibtool_test.py DIBTOOL [EMULATOR...]
"""
import os
import random
import struct
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

TOOL = sys.argv[1:]
WORK = tempfile.mkdtemp(prefix="dibtool-test-")


def run(*args):
    p = subprocess.run(TOOL + [str(a) for a in args], capture_output=True, timeout=120)
    return p.returncode, p.stdout.decode("latin-1"), p.stderr.decode("latin-1")


def is_pe32(exe):
    """True for a 32-bit Windows program (machine i386 in its PE header)."""
    with open(exe, "rb") as f:
        head = f.read(4096)
    if head[:2] != b"MZ":
        return False
    pe = struct.unpack_from("<I", head, 0x3C)[0]
    return head[pe:pe + 4] == b"PE\0\0" and struct.unpack_from("<H", head, pe + 4)[0] == 0x14C


def path(name):
    return os.path.join(WORK, name)


def read_pnm(name):
    with open(path(name), "rb") as f:
        data = f.read()
    magic, dims, maxval, rest = data.split(b"\n", 3)
    w, h = map(int, dims.split())
    assert maxval == b"255"
    return magic.decode(), w, h, rest


def gradient(w, h):
    im = Image.new("RGB", (w, h))
    im.putdata([((x * 37) % 256, (y * 53) % 256, ((x + y) * 11) % 256) for y in range(h) for x in range(w)])
    return im


def stripes(w, h, colours):
    """A palette picture with long runs, which compresses well."""
    im = Image.new("P", (w, h))
    im.putpalette(sum(([(i * 40) % 256, (i * 90) % 256, (i * 150) % 256] for i in range(256)), []))
    im.putdata([(y // 3) % colours for y in range(h) for x in range(w)])
    return im


class Help(unittest.TestCase):
    def test_help_and_usage(self):
        code, out, _ = run("--help")
        self.assertEqual(code, 0)
        self.assertIn("usage: dibtool", out)
        for cmd in ("info", "decode", "convert"):
            code, out, _ = run(cmd, "--help")
            self.assertEqual(code, 0, cmd)
            self.assertIn("usage: dibtool " + cmd, out)
        self.assertEqual(run()[0], 2)
        code, _, err = run("frobnicate")
        self.assertEqual(code, 2)
        self.assertIn("unknown command", err)


class InfoAndDecode(unittest.TestCase):
    def test_24_bit(self):
        im = gradient(3, 2)
        im.save(path("rgb.bmp"))
        code, out, err = run("info", path("rgb.bmp"))
        self.assertEqual(code, 0, err)
        fields = dict(line.split(": ") for line in out.strip().splitlines())
        self.assertEqual(fields["header size"], "40")
        self.assertEqual(fields["width"], "3")
        self.assertEqual(fields["height"], "2")
        self.assertEqual(fields["bit count"], "24")
        self.assertEqual(fields["pixel format"], "5")
        self.assertEqual(fields["bits size"], "24")
        code, _, err = run("decode", path("rgb.bmp"), path("rgb.ppm"))
        self.assertEqual(code, 0, err)
        magic, w, h, pixels = read_pnm("rgb.ppm")
        self.assertEqual((magic, w, h), ("P6", 3, 2))
        self.assertEqual(pixels, im.tobytes())
        code, _, err = run("decode", path("rgb.bmp"), path("rgb.ppm"), path("rgb.pgm"))
        self.assertEqual(code, 2, "a 24-bit picture has no indices")

    def test_palette_pictures_give_indices(self):
        for bits, im in ((8, stripes(13, 7, 200)), (1, stripes(11, 5, 2).convert("1"))):
            name = "p%d" % bits
            im.save(path(name + ".bmp"))
            code, out, err = run("info", path(name + ".bmp"))
            self.assertEqual(code, 0, err)
            self.assertIn("bit count: %d" % bits, out)
            code, _, err = run("decode", path(name + ".bmp"), path(name + ".ppm"), path(name + ".pgm"))
            self.assertEqual(code, 0, err)
            ref = Image.open(path(name + ".bmp"))
            _, w, h, rgb = read_pnm(name + ".ppm")
            self.assertEqual((w, h), ref.size)
            self.assertEqual(rgb, ref.convert("RGB").tobytes(), name)
            magic, _, _, idx = read_pnm(name + ".pgm")
            self.assertEqual(magic, "P5")
            expect = ref.tobytes() if bits == 8 else bytes(1 if v else 0 for v in ref.getdata())
            self.assertEqual(idx, expect, name)


class Convert(unittest.TestCase):
    def test_rle8_decodes_the_same_with_pillow(self):
        stripes(64, 48, 30).save(path("s.bmp"))
        code, _, err = run("convert", path("s.bmp"), path("s_rle.bmp"), "--format", "4")
        self.assertEqual(code, 0, err)
        code, out, _ = run("info", path("s_rle.bmp"))
        self.assertIn("compression: 1", out)
        self.assertIn("pixel format: 4", out)
        self.assertLess(os.path.getsize(path("s_rle.bmp")), os.path.getsize(path("s.bmp")))
        ref = Image.open(path("s_rle.bmp"))
        code, _, err = run("decode", path("s_rle.bmp"), path("s.ppm"), path("s.pgm"))
        self.assertEqual(code, 0, err)
        self.assertEqual(read_pnm("s.pgm")[3], ref.tobytes())
        self.assertEqual(read_pnm("s.ppm")[3], ref.convert("RGB").tobytes())

    def test_reductions_fast_and_fine(self):
        gradient(40, 30).save(path("g.bmp"))
        for fmt, colours in (("3", 256), ("1", 16)):
            for extra in ([], ["--fine"]):
                out = path("g_%s%s.bmp" % (fmt, "f" if extra else ""))
                code, _, err = run("convert", path("g.bmp"), out, "--format", fmt, *extra)
                self.assertEqual(code, 0, err)
                self.assertEqual(err, "", "no progress bar when standard error is no terminal")
                ref = Image.open(out)
                self.assertEqual(ref.mode, "P")
                self.assertLessEqual(len(set(ref.getdata())), colours)

    def test_mask_to_one_bit(self):
        im = Image.new("RGB", (8, 2), (255, 0, 0))
        im.putpixel((0, 0), (0, 0, 255))
        im.save(path("m.bmp"))
        code, _, err = run("convert", path("m.bmp"), path("m1.bmp"), "--format", "0", "--mask", "FF0000")
        self.assertEqual(code, 0, err)
        code, out, _ = run("info", path("m1.bmp"))
        self.assertIn("bit count: 1", out)
        code, _, err = run("decode", path("m1.bmp"), path("m1.ppm"), path("m1.pgm"))
        self.assertEqual(code, 0, err)
        idx = read_pnm("m1.pgm")[3]
        self.assertEqual(len(set(idx[1:8])), 1, "the red pixels share one index")
        self.assertNotEqual(idx[0], idx[1], "the blue one differs")

    def test_bad_arguments(self):
        gradient(4, 4).save(path("a.bmp"))
        for args in (["--format", "9"], ["--format"], [], ["--format", "3", "--mask", "red"], ["--bogus"]):
            code, _, err = run("convert", path("a.bmp"), path("x.bmp"), *args)
            self.assertEqual(code, 2, args)
            self.assertTrue(err.startswith("dibtool: "), err)
        self.assertFalse(os.path.exists(path("x.bmp")))


class Refused(unittest.TestCase):
    def test_engine_refusal_is_exit_1(self):
        with open(path("bad.bmp"), "wb") as f:
            f.write(b"BM" + bytes(60))
        code, _, err = run("info", path("bad.bmp"))
        self.assertEqual(code, 1)
        self.assertIn("Etbitmapex", err)
        self.assertIn("encounted error.", err)

    def test_incompressible_picture_fails_and_writes_nothing(self):
        rnd = random.Random(7)
        im = Image.new("P", (64, 64))
        im.putpalette(list(range(256)) * 3)
        im.putdata([rnd.randrange(256) for _ in range(64 * 64)])
        im.save(path("noise.bmp"))
        code, _, err = run("convert", path("noise.bmp"), path("noise_rle.bmp"), "--format", "4")
        self.assertEqual(code, 1)
        self.assertIn("EtbitmapexCompressionFailed: encounted error.", err)
        self.assertFalse(os.path.exists(path("noise_rle.bmp")))

    def test_pixel_limit(self):
        # 120 bytes declaring 32000 x 16000 pixels of RLE4: 1.5 GB of PPM.
        palette = b"".join(struct.pack("<I", i * 0x111111) for i in range(16))
        info = struct.pack("<IiiHHIIiiII", 40, 32000, 16000, 1, 4, 2, 2, 0, 0, 16, 0)
        head = struct.pack("<HIHHI", 0x4D42, 120, 0, 0, 118)
        with open(path("huge.bmp"), "wb") as f:
            f.write(head + info + palette + b"\x00\x01")
        self.assertEqual(os.path.getsize(path("huge.bmp")), 120)
        for args in (["decode", path("huge.bmp"), path("huge.ppm")],
                     ["convert", path("huge.bmp"), path("huge2.bmp"), "--format", "1"]):
            code, _, err = run(*args)
            self.assertEqual(code, 1, args)
            self.assertIn("512000000 pixels (32000 x 16000), more than the limit of 134217728", err)
        self.assertFalse(os.path.exists(path("huge.ppm")) or os.path.exists(path("huge2.bmp")))
        if is_pe32(TOOL[-1]):
            # Past the limit, a 32-bit process cannot hold 1.5 GB of PPM: the
            # engine's out-of-resources error, not a crash.
            code, _, err = run("decode", path("huge.bmp"), path("huge.ppm"), "--max-pixels", "600000000")
            self.assertEqual(code, 1, err)
            self.assertIn("EOutOfResources: encounted error.", err)
        # The option moves the limit both ways.
        gradient(4, 4).save(path("small.bmp"))
        self.assertEqual(run("decode", path("small.bmp"), path("small.ppm"), "--max-pixels", "15")[0], 1)
        self.assertEqual(run("decode", "--max-pixels", "16", path("small.bmp"), path("small.ppm"))[0], 0)
        for bad in ("0", "many", "-5"):
            code, _, err = run("decode", path("small.bmp"), path("small.ppm"), "--max-pixels", bad)
            self.assertEqual(code, 2, bad)
            self.assertIn("--max-pixels takes", err)

    def test_unreadable_is_exit_2(self):
        code, _, err = run("info", path("missing.bmp"))
        self.assertEqual(code, 2)
        self.assertIn("cannot read", err)
        code, _, err = run("decode", path("missing.bmp"), path("o.ppm"))
        self.assertEqual(code, 2)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], "-v"])
