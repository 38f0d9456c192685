#!/usr/bin/env bash
# CTest's emulator for Windows programs: runs one under the harness's Wine.
# The harness folder is found from the program's build folder upwards.
set -euo pipefail
dir=$(cd "$(dirname "$1")" && pwd)
while [ "$dir" != / ] && [ ! -d "$dir/wine" ]; do dir=$(dirname "$dir"); done
[ -d "$dir/wine" ] || { echo "wine-run: no harness folder above $1" >&2; exit 2; }
export PENDO_WINE_DIR="$dir/wine"
# The desktop CTest gave this test (RESOURCE_GROUPS desktop:1).
case ${CTEST_RESOURCE_GROUP_0_DESKTOP:-} in
  id:0,*|"") ;;
  id:*) desktop=${CTEST_RESOURCE_GROUP_0_DESKTOP#id:}; PENDO_WINE_DIR="$dir/wine-${desktop%%,*}" ;;
esac
# shellcheck source=/dev/null
. "$(dirname "$0")/wine-env.sh"
exec wine "$@"
