# Sourced by the commands: chooses the Windows lane of this host.
#   win32: the shipped i686 programs, tested under Wine's 32-bit loader;
#   win64: the x86_64 build, tested under wine64, where the host cannot start
#          32-bit programs (a kernel booted with ia32_emulation=0, say).
# PENDO_WINDOWS_ARCH=win32|win64 forces a lane. The probe starts a real 32-bit
# program, Wine's i386 loader (PENDO_PROBE32 names another, for trying the
# probe out).
# Sets PENDO_LANE, PENDO_BUILD (the lane's build folder), PENDO_WINE_ARCH and
# PENDO_LANE_NOTE (a line for the user, empty in the 32-bit lane when chosen
# by the probe).
pendo_probe32() {
  local probe=${PENDO_PROBE32:-/usr/lib/wine/wine}
  [ -x "$probe" ] && "$probe" --version >/dev/null 2>&1
}

case ${PENDO_WINDOWS_ARCH:-} in
  win32|win64)
    PENDO_LANE=$PENDO_WINDOWS_ARCH
    PENDO_LANE_NOTE="PENDO_WINDOWS_ARCH=win32: the Windows tests run the i686 build"
    [ "$PENDO_LANE" = win64 ] && PENDO_LANE_NOTE="PENDO_WINDOWS_ARCH=win64: the Windows tests run the x86_64 build"
    ;;
  "")
    if pendo_probe32; then
      PENDO_LANE=win32
      PENDO_LANE_NOTE=""
    else
      PENDO_LANE=win64
      PENDO_LANE_NOTE="this host runs 64-bit code only: the Windows tests run the x86_64 build"
    fi
    ;;
  *)
    echo "PENDO_WINDOWS_ARCH must be win32 or win64, not '$PENDO_WINDOWS_ARCH'" >&2
    return 2 2>/dev/null || exit 2
    ;;
esac
PENDO_BUILD=build/$PENDO_LANE
PENDO_WINE_ARCH=$PENDO_LANE
export PENDO_LANE PENDO_BUILD PENDO_WINE_ARCH PENDO_LANE_NOTE
