#!/usr/bin/env bash
# Times Mondax under Wine: a whole installation and removal of Pendo from
# dist/, and the copy rate of a 100 MiB archive of 1 MiB files, against cp
# of the same archive on the same file system (best of three).
# usage: bench/mondax-bench.sh
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# shellcheck source=/dev/null
. scripts/lane.sh
cmake --preset "$PENDO_LANE" >/dev/null
cmake --build --preset "$PENDO_LANE" --target dist mondax_bench >/dev/null
run="$PWD/build/bench-mondax"
rm -rf "$run/work"
mkdir -p "$run/work"
scripts/wine/harness.sh start "$run" >/dev/null
trap 'scripts/wine/harness.sh stop "$run" >/dev/null 2>&1 || true' EXIT
export PENDO_WINE_DIR="$run/wine"
# shellcheck source=/dev/null
. scripts/wine/wine-env.sh
wine "$PENDO_BUILD"/bench/win32/mondax_bench.exe "$(winepath -w "$PENDO_BUILD"/dist)" "$(winepath -w "$run/work")" | tr -d '\r'

best=""
for _ in 1 2 3; do
  rm -f "$run/work/copy.bdx"
  start=$(date +%s.%N)
  cp "$run/work/big/big.bdx" "$run/work/copy.bdx"
  end=$(date +%s.%N)
  best=$(awk -v s="$start" -v e="$end" -v b="$best" 'BEGIN { t = e - s; print (b == "" || t < b) ? t : b }')
done
awk -v b="$best" 'BEGIN { printf "cp of the 100 MiB archive: best %.1f ms (%.0f MB/s)\n", b * 1000, 104.8576 / b }'
rm -f "$run/work/copy.bdx"
