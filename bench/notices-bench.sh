#!/usr/bin/env bash
# Measures a long notice list under Wine on a virtual display: notices_bench.exe
# (bench/win32/notices_bench.cpp) with COUNT notices (default 10000) beside a
# copy of Pendo.exe.
# usage: bench/notices-bench.sh [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-10000}
bash scripts/install-deps.sh
# shellcheck source=/dev/null
. scripts/lane.sh
cmake --preset "$PENDO_LANE" >/dev/null
cmake --build --preset "$PENDO_LANE" --target Pendo notices_bench >/dev/null
run="$PWD/build/bench-notices"
rm -rf "$run/app"
mkdir -p "$run/app/profile"
cp "$PENDO_BUILD"/bin/Pendo.exe "$run/app/Pendo.exe"
cp "$PENDO_BUILD"/bench/win32/notices_bench.exe "$run/app/notices_bench.exe"
printf 'firstboot,0\r\n' >"$run/app/profile/profile_mainform"
scripts/wine/harness.sh start "$run" >/dev/null
trap 'scripts/wine/harness.sh stop "$run" >/dev/null 2>&1 || true' EXIT
export PENDO_WINE_DIR="$run/wine"
# shellcheck source=/dev/null
. scripts/wine/wine-env.sh
wine "$run/app/notices_bench.exe" "$count"
