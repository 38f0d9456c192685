#!/usr/bin/env bash
# Whole-process timings of dibtool's colour reductions against ImageMagick and
# Pillow's median cut on natural photographs, with the PSNR of each result.
# usage: bench/dibtool-vs-others.sh [DIBTOOL]   (default: build/bench/bin/dibtool)
set -euo pipefail
cd "$(dirname "$0")/.."
tool=${1:-build/bench/bin/dibtool}
if [ ! -x "$tool" ]; then
  cmake --preset bench >/dev/null
  cmake --build --preset bench --target dibtool >/dev/null
fi
[ -d /usr/share/backgrounds/mate/nature ] || apt-get install -y -qq mate-backgrounds >/dev/null
work=build/bench/dibtool-vs-others
mkdir -p "$work"
exec /usr/bin/python3 bench/dibtool_vs_others.py "$tool" "$work" \
  /usr/share/backgrounds/mate/nature/Storm.jpg /usr/share/backgrounds/mate/nature/GreenMeadow.jpg
