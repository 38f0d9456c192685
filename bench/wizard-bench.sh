#!/usr/bin/env bash
# Measures the notice wizard with COUNT notices (default 10000) under Wine on
# a virtual display: wizard_bench.exe (bench/win32/wizard_bench.cpp).
# usage: bench/wizard-bench.sh [COUNT]
set -euo pipefail
cd "$(dirname "$0")/.."
count=${1:-10000}
bash scripts/install-deps.sh
# shellcheck source=/dev/null
. scripts/lane.sh
cmake --preset "$PENDO_LANE" >/dev/null
cmake --build --preset "$PENDO_LANE" --target wizard_bench >/dev/null
run="$PWD/build/bench-wizard"
rm -rf "$run/app"
mkdir -p "$run/app/profile"
cp "$PENDO_BUILD"/bench/win32/wizard_bench.exe "$run/app/wizard_bench.exe"
printf 'firstboot,0\r\n' >"$run/app/profile/profile_mainform"
scripts/wine/harness.sh start "$run" >/dev/null
trap 'scripts/wine/harness.sh stop "$run" >/dev/null 2>&1 || true' EXIT
export PENDO_WINE_DIR="$run/wine"
# shellcheck source=/dev/null
. scripts/wine/wine-env.sh
wine "$run/app/wizard_bench.exe" "$count"
