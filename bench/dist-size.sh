#!/usr/bin/env bash
# bench/dist-size.sh: the sizes of what a user gets, the stripped programs of
# dist/ and the archive that carries Pendo. With lib or obj, also what takes
# the space of each program, by library or by object file, from the linker's
# maps (bench/size-by-library.py).
# usage: bench/dist-size.sh [lib|obj [COUNT]]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset win32 >/dev/null
cmake --build --preset win32 --target dist >/dev/null
for f in build/win32/dist-stage/Pendo.exe build/win32/dist/mondax.exe build/win32/dist/pendo.bdx; do
  printf '%-36s %9d bytes\n' "$f" "$(stat -c %s "$f")"
done
if [ $# -gt 0 ]; then
  for program in Pendo mondax; do
    echo "$program.exe, bytes by $1 (before stripping, which removes only symbols):"
    python3 bench/size-by-library.py "build/win32/bin/$program.map" "$1" "${2:-15}"
  done
fi
