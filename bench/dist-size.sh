#!/usr/bin/env bash
# bench/dist-size.sh: the sizes of what a user gets, the stripped programs of
# dist/ and the archive that carries Pendo.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target dist >/dev/null
for f in build/win32/dist-stage/Pendo.exe build/win32/dist/mondax.exe build/win32/dist/pendo.bdx; do
  printf '%-36s %9d bytes\n' "$f" "$(stat -c %s "$f")"
done
