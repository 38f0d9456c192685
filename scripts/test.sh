#!/usr/bin/env bash
# The test command: installs what is missing, builds the host core, the fuzz
# targets and the Windows lane this host can run, then runs every test
# (native with sanitizers, the fuzzers, Windows under Wine, last).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# shellcheck source=lane.sh
. scripts/lane.sh
[ -n "$PENDO_LANE_NOTE" ] && echo "$PENDO_LANE_NOTE"

jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
# What users get is the i686 build, whatever the host runs.
cmake --preset win32 >/dev/null
if [ "$PENDO_LANE" = win32 ]; then
  cmake --build --preset win32 -j "$jobs"
else
  cmake --build --preset win32-dist -j "$jobs"
  cmake --preset win64 >/dev/null
  cmake --build --preset win64 -j "$jobs"
fi

# The Wine fixture stops what it starts; this covers an interrupted run too.
trap 'scripts/wine/harness.sh stop "$PENDO_BUILD" >/dev/null 2>&1 || true' EXIT

status=0
ctest --preset native || status=1
echo
ctest --preset fuzz || status=1
echo
echo "Windows tests: the $PENDO_LANE lane${PENDO_LANE_NOTE:+ ($PENDO_LANE_NOTE)}"
# Last: CTest's own summary of the Windows run.
ctest --preset "$PENDO_LANE" || status=1
exit $status
