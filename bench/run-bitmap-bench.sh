#!/usr/bin/env bash
# Builds the benchmark preset, prepares a 1920 x 1080 photograph from
# Debian's mate-backgrounds, runs the bitmap engine's benchmarks and times
# ImageMagick's reduction of the same picture for comparison.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
photo_src=/usr/share/backgrounds/mate/nature/Garden.jpg
if [ ! -f "$photo_src" ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "mate-backgrounds is missing (run as root to install it)" >&2
    exit 1
  fi
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq mate-backgrounds >/dev/null
fi

cmake --preset bench >/dev/null
cmake --build --preset bench --target bitmap_bench -j2 >/dev/null
data=$root/build/bench/bench-data
mkdir -p "$data"
convert "$photo_src" -resize 1920x1080^ -gravity center -extent 1920x1080 -type TrueColor \
  "BMP3:$data/photo24.bmp"

PENDO_BENCH_DATA=$data "$root/build/bench/bench/bitmap_bench" \
  --benchmark_out="$data/bitmap.json" --benchmark_out_format=json "$@"

# ImageMagick: best of five, file to file like the engine's FileToFile cases.
best=
for _ in 1 2 3 4 5; do
  start=$(date +%s%N)
  convert "$data/photo24.bmp" -colors 256 +dither "$data/magick256.bmp"
  t=$(( ($(date +%s%N) - start) / 1000000 ))
  if [ -z "$best" ] || [ "$t" -lt "$best" ]; then best=$t; fi
done
echo
echo "ImageMagick convert IN.bmp -colors 256 +dither OUT.bmp: ${best} ms (best of 5)"
python3 - "$data/bitmap.json" "$best" <<'PY'
import json, sys
runs = {b["name"]: b["real_time"] for b in json.load(open(sys.argv[1]))["benchmarks"]}
magick = float(sys.argv[2])
for name in ("BM_ReduceFast256", "BM_ReduceFine256", "BM_FileToFileFast256", "BM_FileToFileFine256"):
    print("%-22s %8.1f ms   ImageMagick / engine = %5.1f" % (name, runs[name], magick / runs[name]))
PY
