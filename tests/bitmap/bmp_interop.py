#!/usr/bin/env python3
"""BMP files written and read by programs outside this code base.

generate DIR   write BMP files with Pillow and ImageMagick into DIR, each with
               NAME.expect: "W H MR MG MB" and the tool's own decoding as RGB
               rows, top row first (MR/MG/MB: the bits of each channel that a
               16-bit file can hold). DIR/manifest lists the names;
               DIR/manifest_widths those of the files made for every width
               from 1 to 65 (run-length, 124-byte header, gap before the
               pixels, bfSize 0, streams without end-of-bitmap).
decode FILE OUT        Pillow's decoding of FILE as "W H" and RGB rows.
decode-im FILE OUT     the same with ImageMagick.
"""
import os
import random
import struct
import subprocess
import sys

from PIL import Image


def write_expect(path, im, masks=(255, 255, 255)):
    im = im.convert("RGB")
    w, h = im.size
    with open(path, "wb") as f:
        f.write(b"%d %d %d %d %d\n" % (w, h, *masks))
        f.write(im.tobytes())


def convert(*args):
    subprocess.run(["convert", *args], check=True)


def header(path):
    """Header size, bits per pixel and compression of a BMP file."""
    with open(path, "rb") as f:
        data = f.read(54)
    size = struct.unpack_from("<I", data, 14)[0]
    if size == 12:
        return size, struct.unpack_from("<H", data, 24)[0], 0
    bits, comp = struct.unpack_from("<HI", data, 28)
    return size, bits, comp


def pictures(d):
    rng = random.Random(5)
    few = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(5)]
    blocks = Image.new("RGB", (37, 11))
    blocks.putdata([few[(x // 5 + y) % 5] for y in range(11) for x in range(37)])
    natural = Image.new("RGB", (37, 11))
    natural.putdata([(x * 7 % 256, y * 23 % 256, (x * y + rng.randrange(9)) % 256) for y in range(11) for x in range(37)])
    two = Image.new("1", (29, 7))
    two.putdata([255 if (x * 3 + y) % 7 < 3 else 0 for y in range(7) for x in range(29)])
    paletted = blocks.convert("P", palette=Image.ADAPTIVE, colors=8)
    grey = Image.new("L", (31, 5))
    grey.putdata([(x * 8 + y * 40) % 256 for y in range(5) for x in range(31)])
    for name, im in [("blocks", blocks), ("natural", natural), ("two", two)]:
        im.save(os.path.join(d, name + ".png"))
    return blocks, natural, two, paletted, grey


def rewrap_16(v5_path, out_path, with_masks):
    """A 16-bit file with ImageMagick's own pixel data, behind a 40-byte
    header (ImageMagick writes 16 bits only with a 124-byte header or with
    masks missing)."""
    data = open(v5_path, "rb").read()
    off = struct.unpack_from("<I", data, 10)[0]
    w, h, planes, bits = struct.unpack_from("<iiHH", data, 18)
    masks = data[54:66]
    pixels = data[off:]
    comp = 3 if with_masks else 0
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, comp, len(pixels), 0, 0, 0, 0)
    extra = masks if with_masks else b""
    head = struct.pack("<HIHHI", 0x4D42, 14 + 40 + len(extra) + len(pixels), 0, 0, 14 + 40 + len(extra))
    open(out_path, "wb").write(head + info + extra + pixels)


def generate(d):
    os.makedirs(d, exist_ok=True)
    blocks, natural, two, paletted, grey = pictures(d)
    p = lambda name: os.path.join(d, name)
    made = []

    def done(name, expect_from, masks=(255, 255, 255), want=None):
        write_expect(p(name + ".expect"), Image.open(expect_from), masks)
        if want is not None:
            got = header(p(name + ".bmp"))
            if got != want:
                sys.exit("%s: the tool wrote header %s, expected %s" % (name, got, want))
        made.append(name)

    two.save(p("pil_1bit.bmp"))
    done("pil_1bit", p("pil_1bit.bmp"), want=(40, 1, 0))
    paletted.save(p("pil_8bit_p.bmp"))
    done("pil_8bit_p", p("pil_8bit_p.bmp"), want=(40, 8, 0))
    grey.save(p("pil_8bit_l.bmp"))
    done("pil_8bit_l", p("pil_8bit_l.bmp"), want=(40, 8, 0))
    natural.save(p("pil_24bit.bmp"))
    done("pil_24bit", p("pil_24bit.bmp"), want=(40, 24, 0))
    rgba = natural.convert("RGBA")
    rgba.save(p("pil_32bit.bmp"))
    done("pil_32bit", p("pil_32bit.bmp"), want=(40, 32, 0))

    convert(p("two.png"), "-type", "Bilevel", "BMP3:" + p("im_1bit.bmp"))
    done("im_1bit", p("im_1bit.bmp"), want=(40, 1, 0))
    convert(p("blocks.png"), "-type", "Palette", "BMP3:" + p("im_4bit.bmp"))
    done("im_4bit", p("im_4bit.bmp"), want=(40, 4, 0))
    convert(p("blocks.png"), "-type", "Palette", "-compress", "RLE", "BMP3:" + p("im_rle8.bmp"))
    done("im_rle8", p("im_rle8.bmp"), want=(40, 8, 1))
    convert(p("natural.png"), "-type", "TrueColor", "BMP3:" + p("im_24bit.bmp"))
    done("im_24bit", p("im_24bit.bmp"), want=(40, 24, 0))
    convert(p("natural.png"), "-alpha", "set", "-define", "bmp3:alpha=true", "BMP3:" + p("im_32bit.bmp"))
    done("im_32bit", p("im_32bit.bmp"), want=(40, 32, 0))
    convert(p("blocks.png"), "-type", "Palette", "BMP2:" + p("im_core_4bit.bmp"))
    done("im_core_4bit", p("im_core_4bit.bmp"), want=(12, 4, 0))
    convert(p("natural.png"), "-type", "TrueColor", "BMP2:" + p("im_core_24bit.bmp"))
    if header(p("im_core_24bit.bmp"))[0] == 12:
        done("im_core_24bit", p("im_core_24bit.bmp"))

    for sub, masks, name in [("RGB565", (0xF8, 0xFC, 0xF8), "im_16bit_565_masks"),
                             ("RGB555", (0xF8, 0xF8, 0xF8), "im_16bit_555")]:
        convert(p("natural.png"), "-define", "bmp:subtype=" + sub, p(name + "_v5.bmp"))
        rewrap_16(p(name + "_v5.bmp"), p(name + ".bmp"), with_masks=(sub == "RGB565"))
        # The reference is the tool's reading of its own file.
        done(name, p(name + "_v5.bmp"), masks)

    with open(p("manifest"), "w") as f:
        f.write("\n".join(made) + "\n")
    generate_widths(d)


def patched(src, dst, gap=0, bf_size=None, cut_rows=None, drop_eob=False):
    """A copy of a tool's file as other writers make them: gap bytes before
    the pixels, another bfSize, a run-length stream cut after cut_rows rows
    or without its end-of-bitmap code."""
    data = bytearray(open(src, "rb").read())
    off = struct.unpack_from("<I", data, 10)[0]
    head, pixels = data[:off], data[off:]
    if cut_rows is not None or drop_eob:
        i, rows = 0, 0
        while i + 1 < len(pixels):
            n, v = pixels[i], pixels[i + 1]
            if n == 0 and v == 0:
                rows += 1
                if rows == cut_rows:
                    break
            elif n == 0 and v == 1:
                break
            i += 2 if n or v < 2 else 4 if v == 2 else 2 + (v + 1) // 2 * 2
        pixels = pixels[:i]
    head[off:] = bytes(gap)
    struct.pack_into("<I", head, 10, off + gap)
    out = head + pixels
    struct.pack_into("<I", out, 2, len(out) if bf_size is None else bf_size)
    open(dst, "wb").write(out)


def generate_widths(d):
    """For each width from 1 to 65, the rows end at every place within a
    4-byte group, so run-length rows run into every amount of padding."""
    p = lambda name: os.path.join(d, name)
    rng = random.Random(9)
    colours = [(rng.randrange(256), rng.randrange(256), rng.randrange(256)) for _ in range(40)]
    base = Image.new("RGB", (65, 6))
    # Runs of colour with busy stretches between them (absolute runs).
    base.putdata([colours[(x // 6 + y) % 40] if (x + 2 * y) % 11 > 3 else colours[(x * 7 + y) % 40]
                  for y in range(6) for x in range(65)])
    made = []

    def done(name, reference):
        write_expect(p(name + ".expect"), reference)
        made.append(name)

    for w in range(1, 66):
        pic = base.crop((0, 0, w, 6))
        png = p("w%d.png" % w)
        pic.save(png)
        rle, v5, pil = p("w%d_rle8.bmp" % w), p("w%d_v5.bmp" % w), p("w%d_pil.bmp" % w)
        convert(png, "-type", "Palette", "-compress", "RLE", "-write", "BMP3:" + rle, "+compress", "-type", "TrueColor", v5)
        pic.save(pil)
        if header(rle) != (40, 8, 1) or header(v5) != (124, 24, 0):
            sys.exit("width %d: the tool wrote headers %s %s" % (w, header(rle), header(v5)))
        done("w%d_rle8" % w, Image.open(rle))
        done("w%d_v5" % w, Image.open(v5))
        patched(pil, p("w%d_gap.bmp" % w), gap=2 + w % 7 * 2)
        done("w%d_gap" % w, Image.open(p("w%d_gap.bmp" % w)))
        patched(v5, p("w%d_size0.bmp" % w), bf_size=0)
        done("w%d_size0" % w, Image.open(p("w%d_size0.bmp" % w)))
        patched(rle, p("w%d_noeob.bmp" % w), drop_eob=True, bf_size=0)
        done("w%d_noeob" % w, Image.open(p("w%d_noeob.bmp" % w)))
        # Cut after 2 of 6 rows: ImageMagick leaves the rest at the first
        # colour-table entry (and reports the file as damaged).
        patched(rle, p("w%d_cut.bmp" % w), cut_rows=2)
    cuts = [p("w%d_cut.bmp" % w) for w in range(1, 66)]
    subprocess.run(["convert", *cuts, "-depth", "8", p("cut_%d.rgb")], stderr=subprocess.DEVNULL)
    for w in range(1, 66):
        with open(p("w%d_cut.expect" % w), "wb") as f:
            f.write(b"%d 6 255 255 255\n" % w)
            f.write(open(p("cut_%d.rgb" % (w - 1)), "rb").read())
        made.append("w%d_cut" % w)
    with open(p("manifest_widths"), "w") as f:
        f.write("\n".join(made) + "\n")


def decode(path, out):
    im = Image.open(path)
    im.load()
    im = im.convert("RGB")
    with open(out, "wb") as f:
        f.write(b"%d %d\n" % im.size)
        f.write(im.tobytes())


def decode_im(path, out):
    data = open(path, "rb").read()
    w, h = struct.unpack_from("<ii", data, 18)
    rgb = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True, stdout=subprocess.PIPE).stdout
    with open(out, "wb") as f:
        f.write(b"%d %d\n" % (w, abs(h)))
        f.write(rgb)


if __name__ == "__main__":
    cmd = sys.argv[1]
    if cmd == "generate":
        generate(sys.argv[2])
    elif cmd == "decode":
        decode(sys.argv[2], sys.argv[3])
    elif cmd == "decode-im":
        decode_im(sys.argv[2], sys.argv[3])
    else:
        sys.exit("unknown command " + cmd)
