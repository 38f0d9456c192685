#!/usr/bin/env bash
# Time, peak memory and output of dibtool decode on small files declaring
# large pictures: a 120-byte RLE4 file of 32000 x 16000 pixels (refused by
# the pixel limit), and an RLE8 file of 16384 x 8192 pixels, exactly the
# default limit (decoded to PPM and PGM). Host build without sanitizers; the
# Windows build's refusal is checked by tests/dibtool under Wine.
# usage: bench/dibtool-limit.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset bench >/dev/null
cmake --build --preset bench --target dibtool >/dev/null
tool=build/bench/bin/dibtool
work=build/bench-limit
mkdir -p "$work"
/usr/bin/python3 - "$work" <<'PY'
import struct, sys
d = sys.argv[1]
def bmp(name, w, h, bits, comp, stream):
    colours = 1 << bits
    palette = b"".join(struct.pack("<I", i * 0x010101 * (255 // (colours - 1))) for i in range(colours))
    off = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, comp, len(stream), 0, 0, colours, 0)
    with open(f"{d}/{name}", "wb") as f:
        f.write(struct.pack("<HIHHI", 0x4D42, off + len(stream), 0, 0, off) + info + palette + stream)
bmp("hostile.bmp", 32000, 16000, 4, 2, b"\x00\x01")
# Each row: two runs of 255 and the rest of the row in runs of 128 of one colour.
row = bytes([255, 10, 255, 20]) + bytes([128, 30]) * ((16384 - 510) // 128) + bytes([(16384 - 510) % 128, 40, 0, 0])
bmp("at-limit.bmp", 16384, 8192, 8, 1, row * 8192 + b"\x00\x01")
PY
ls -l "$work"/*.bmp
measure() { /usr/bin/time -f "  %e s, peak %M KB, exit %x" "$@" 2>&1 | sed 's/^dibtool: /  /'; }
echo "hostile file:"
measure "$tool" decode "$work/hostile.bmp" "$work/h.ppm" || true
echo "hostile file, limit raised to 600000000:"
measure "$tool" decode "$work/hostile.bmp" "$work/h.ppm" --max-pixels 600000000
ls -l "$work/h.ppm"
rm -f "$work/h.ppm"
echo "picture at the limit, PPM and PGM:"
measure "$tool" decode "$work/at-limit.bmp" "$work/a.ppm" "$work/a.pgm"
ls -l "$work"/a.ppm "$work"/a.pgm
rm -f "$work"/a.ppm "$work"/a.pgm
