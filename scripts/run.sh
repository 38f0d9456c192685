#!/usr/bin/env bash
# The run command: installs what is missing, builds, and starts Pendo under
# Wine. With $DISPLAY set it runs there until Pendo ends; without one it runs
# on a virtual display, saves a screenshot and says where. On a host that
# runs 64-bit code only it runs the x86_64 build (see scripts/lane.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh
# shellcheck source=lane.sh
. scripts/lane.sh
[ -n "$PENDO_LANE_NOTE" ] && echo "$PENDO_LANE_NOTE"
cmake --preset "$PENDO_LANE" >/dev/null
cmake --build --preset "$PENDO_LANE" --target Pendo

run="$root/build/run"
mkdir -p "$run/app"
cp "$PENDO_BUILD/bin/Pendo.exe" "$run/app/Pendo.exe"
export PENDO_WINE_DIR="$run/wine"
mkdir -p "$PENDO_WINE_DIR"

if [ -n "${DISPLAY:-}" ]; then
  rm -f "$PENDO_WINE_DIR/display"
  echo "$PENDO_WINE_ARCH" >"$PENDO_WINE_DIR/arch"
  # shellcheck source=/dev/null
  . scripts/wine/wine-env.sh
  mkdir -p "$WINEPREFIX" "$HOME"
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  echo "Pendo runs on $DISPLAY; its settings are in $run/app/profile. Right-click it for its menu."
  exec wine "$run/app/Pendo.exe"
fi

scripts/wine/harness.sh start "$run" >/dev/null
trap 'scripts/wine/harness.sh stop "$run" >/dev/null 2>&1 || true' EXIT
# shellcheck source=/dev/null
. scripts/wine/wine-env.sh
wine "$run/app/Pendo.exe" >/dev/null 2>&1 &
for _ in $(seq 100); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Pendo"\|Tmainform' && break
  sleep 0.1
done
sleep 3
shot="$run/screenshot.png"
import -window root -display "$DISPLAY" "$shot"
echo "Pendo ran on a virtual display ($DISPLAY); screenshot: $shot"
