"""Times each reduction as a whole process (best of 5) and measures its PSNR."""
import math
import os
import subprocess
import sys
import time

from PIL import Image, ImageChops, ImageStat

tool, work, photos = sys.argv[1], sys.argv[2], sys.argv[3:]
RUNS = 5


def best_time(cmd):
    best = math.inf
    for _ in range(RUNS):
        t = time.perf_counter()
        subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        best = min(best, time.perf_counter() - t)
    return best


def psnr(a, b):
    diff = ImageChops.difference(Image.open(a).convert("RGB"), Image.open(b).convert("RGB"))
    sq = sum(ImageStat.Stat(diff).sum2)
    n = diff.size[0] * diff.size[1] * 3
    return math.inf if sq == 0 else 10 * math.log10(255 * 255 * n / sq)


PILLOW = ("from PIL import Image; import sys; "
          "Image.open(sys.argv[1]).quantize(colors=int(sys.argv[3]), method=Image.Quantize.MEDIANCUT, "
          "dither=Image.Dither.NONE).save(sys.argv[2])")

print("| picture | colours | program | seconds | PSNR dB |")
print("|---|---|---|---|---|")
for photo in photos:
    for w, h in ((1024, 768), (1920, 1080)):
        name = "%s_%dx%d" % (os.path.splitext(os.path.basename(photo))[0], w, h)
        src = os.path.join(work, name + ".bmp")
        Image.open(photo).convert("RGB").resize((w, h), Image.LANCZOS).save(src)
        for colours, fmt in ((256, "3"), (16, "1")):
            runs = [
                ("dibtool fast", [tool, "convert", src, None, "--format", fmt]),
                ("dibtool fine", [tool, "convert", src, None, "--format", fmt, "--fine"]),
                ("ImageMagick", ["convert", src, "+dither", "-colors", str(colours), "-type", "Palette",
                                 "-compress", "None", None]),
                ("Pillow median cut", ["/usr/bin/python3", "-c", PILLOW, src, None, str(colours)]),
            ]
            for label, cmd in runs:
                out = os.path.join(work, "%s_%d_%s.bmp" % (name, colours, label.replace(" ", "_")))
                cmd = [("BMP3:" + out if label == "ImageMagick" else out) if c is None else c for c in cmd]
                secs = best_time(cmd)
                print("| %s | %d | %s | %.3f | %.2f |" % (name, colours, label, secs, psnr(src, out)), flush=True)
