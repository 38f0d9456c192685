#!/usr/bin/env bash
# Pendo's start-up against the floor, under Wine on a virtual display:
# startup_bench.exe (bench/win32/startup_bench.cpp) runs, alternately and
# RUNS times each (default 7), the Pendo.exe users get, the trace build's
# Pendo.exe (the win32-trace preset: the same program writing its start-up
# phases), bare_start.exe (bench/win32/bare_start.cpp) and the same bare
# program importing what Pendo imports, each in a folder of its own (Pendo's
# with a profile past the first start), and prints every run, the medians
# and the phases.
# usage: bench/startup-bench.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-7}
bash scripts/install-deps.sh
# shellcheck source=/dev/null
. scripts/lane.sh
cmake --preset "$PENDO_LANE" >/dev/null
cmake --build --preset "$PENDO_LANE" --target Pendo bare_start bare_start_imports startup_bench >/dev/null
cmake --preset "$PENDO_LANE-trace" >/dev/null
cmake --build --preset "$PENDO_LANE-trace" >/dev/null
run="$PWD/build/bench-startup"
rm -rf "$run/pendo" "$run/traced" "$run/bare" "$run/imports"
for d in pendo traced; do
  mkdir -p "$run/$d/profile"
  printf 'firstboot,0\r\n' >"$run/$d/profile/profile_mainform"
done
mkdir -p "$run/bare" "$run/imports"
cp "$PENDO_BUILD"/bin/Pendo.exe "$run/pendo/Pendo.exe"
cp "build/$PENDO_LANE-trace/bin/Pendo.exe" "$run/traced/Pendo.exe"
cp "$PENDO_BUILD"/bench/win32/bare_start.exe "$run/bare/bare_start.exe"
cp "$PENDO_BUILD"/bench/win32/bare_start_imports.exe "$run/imports/bare_start_imports.exe"
cp "$PENDO_BUILD"/bench/win32/startup_bench.exe "$run/startup_bench.exe"
scripts/wine/harness.sh start "$run" >/dev/null
trap 'scripts/wine/harness.sh stop "$run" >/dev/null 2>&1 || true' EXIT
export PENDO_WINE_DIR="$run/wine"
# shellcheck source=/dev/null
. scripts/wine/wine-env.sh
w() { winepath -w "$1"; }
wine "$run/startup_bench.exe" "$runs" "$(w "$run/pendo/Pendo.exe")" "$(w "$run/traced/Pendo.exe")" \
  "$(w "$run/bare/bare_start.exe")" "$(w "$run/imports/bare_start_imports.exe")"
