#!/usr/bin/env bash
# The lane the commands choose: by a probe that starts a 32-bit program, or
# as PENDO_WINDOWS_ARCH forces it.
set -uo pipefail
lane=$(cd "$(dirname "$0")/../../scripts" && pwd)/lane.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# An ELF for no machine this kernel runs: execve fails with ENOEXEC, as
# Wine's i386 loader does on a kernel without IA-32 emulation.
printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\377\377' >"$work/foreign"
chmod +x "$work/foreign"

failed=0
check() {  # check FORCED PROBE LANE NOTE-PATTERN
  local out
  out=$(unset PENDO_WINDOWS_ARCH; [ -n "$1" ] && export PENDO_WINDOWS_ARCH=$1
        PENDO_PROBE32=$2 bash -c '. "$0" && echo "$PENDO_LANE|$PENDO_BUILD|$PENDO_LANE_NOTE"' "$lane" 2>&1)
  case $out in
    "$3|build/$3|"$4) echo "ok: forced='$1' probe=${2##*/}: $out" ;;
    *) echo "FAILED: forced='$1' probe=${2##*/}: got '$out', want lane $3 and note '$4'"; failed=1 ;;
  esac
}
check "" /bin/true win32 ""
check "" "$work/foreign" win64 "this host runs 64-bit code only: the Windows tests run the x86_64 build"
check "" "$work/missing" win64 "this host runs 64-bit code only: *"
check win64 /bin/true win64 "PENDO_WINDOWS_ARCH=win64: *"
check win32 "$work/foreign" win32 "PENDO_WINDOWS_ARCH=win32: *"
out=$(PENDO_WINDOWS_ARCH=arm64 bash -c '. "$0"' "$lane" 2>&1) && { echo "FAILED: arm64 accepted"; failed=1; }
case $out in *"must be win32 or win64"*) echo "ok: arm64 refused" ;; *) echo "FAILED: arm64: $out"; failed=1 ;; esac
exit $failed
