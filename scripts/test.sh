#!/usr/bin/env bash
# The test command: installs what is missing, builds both presets and runs
# every test (native with sanitizers and fuzzers, Windows under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake --preset native >/dev/null
cmake --build --preset native -j "$jobs"
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$jobs"

# The Wine fixture stops what it starts; this covers an interrupted run too.
trap 'scripts/wine/harness.sh stop build/win32 >/dev/null 2>&1 || true' EXIT

status=0
ctest --preset native || status=1
echo
# Last: CTest's own summary of the Windows run (the native one stands above).
ctest --preset win32 || status=1
exit $status
