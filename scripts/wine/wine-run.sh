#!/usr/bin/env bash
# CTest's emulator for Windows programs: runs one under the harness's Wine.
# The harness folder is found from the program's build folder upwards.
set -euo pipefail
dir=$(cd "$(dirname "$1")" && pwd)
while [ "$dir" != / ] && [ ! -d "$dir/wine" ]; do dir=$(dirname "$dir"); done
[ -d "$dir/wine" ] || { echo "wine-run: no harness folder above $1" >&2; exit 2; }
export PENDO_WINE_DIR="$dir/wine"
# shellcheck source=/dev/null
. "$(dirname "$0")/wine-env.sh"
exec wine "$@"
