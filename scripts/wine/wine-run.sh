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
case " $* " in
  *" --gtest_brief=1 "*) ;;
  *) exec wine "$@" ;;
esac
# A GoogleTest program: its report is its verdict. Wine (8.0) has been seen
# to die of a native signal in its own exit path, after the program's last
# line and its report; that is said, not taken for a failed test. A crash
# of the program itself is an exception to Wine and ends with an exit code.
report=$(mktemp "${TMPDIR:-/tmp}/pendo-gtest-XXXXXX.xml")
trap 'rm -f "$report"' EXIT
status=0
wine "$@" "--gtest_output=xml:Z:$report" || status=$?
if [ "$status" -gt 128 ] && [ "$status" -lt 160 ] && grep -q '<testsuites [^>]*failures="0"' "$report" 2>/dev/null &&
   grep -q '<testsuites [^>]*errors="0"' "$report"; then
  echo "wine-run: every test passed; Wine then died of signal $((status - 128)) while the process ended" >&2
  status=0
fi
exit "$status"
