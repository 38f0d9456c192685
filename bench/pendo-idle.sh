#!/usr/bin/env bash
# Measures the running clock under Wine on a virtual display:
# - processor time of an idle Pendo.exe over SECONDS (default 60) with the
#   noise line on and off (the Wine server's and the X server's time too);
# - its resident memory at the start and the end of that time;
# - clock_bench.exe: one tick's paint, one noise step, one see-through rebuild.
# usage: bench/pendo-idle.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:-60}
bash scripts/install-deps.sh
# shellcheck source=/dev/null
. scripts/lane.sh
cmake --preset "$PENDO_LANE" >/dev/null
cmake --build --preset "$PENDO_LANE" --target Pendo clock_bench >/dev/null
run="$PWD/build/bench-idle"
mkdir -p "$run/app/profile"
cp "$PENDO_BUILD"/bin/Pendo.exe "$run/app/Pendo.exe"
cp "$PENDO_BUILD"/bench/win32/clock_bench.exe "$run/app/clock_bench.exe"
scripts/wine/harness.sh start "$run" >/dev/null
trap 'scripts/wine/harness.sh stop "$run" >/dev/null 2>&1 || true' EXIT
export PENDO_WINE_DIR="$run/wine"
# shellcheck source=/dev/null
. scripts/wine/wine-env.sh
hz=$(getconf CLK_TCK)

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
rss() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }

measure() {  # label, noise 0/1
  printf 'horizontalnoise,%s\r\n' "$2" >"$run/app/profile/profile_datepanel"
  printf 'firstboot,0\r\n' >"$run/app/profile/profile_mainform"
  wine "$run/app/Pendo.exe" >/dev/null 2>&1 &
  local pid=""
  for _ in $(seq 100); do
    pid=$(pgrep -f 'app/Pendo.exe' | head -n 1 || true)
    [ -n "$pid" ] && break
    sleep 0.1
  done
  sleep 5
  local server xvfb
  server=$(cat "$PENDO_WINE_DIR/wineserver.pid")
  xvfb=$(cat "$PENDO_WINE_DIR/xvfb.pid")
  local p0 s0 x0 m0 p1 s1 x1 m1
  p0=$(ticks "$pid"); s0=$(ticks "$server"); x0=$(ticks "$xvfb"); m0=$(rss "$pid")
  sleep "$secs"
  p1=$(ticks "$pid"); s1=$(ticks "$server"); x1=$(ticks "$xvfb"); m1=$(rss "$pid")
  awk -v l="$1" -v p=$((p1 - p0)) -v s=$((s1 - s0)) -v x=$((x1 - x0)) -v hz="$hz" -v t="$secs" -v m0="$m0" -v m1="$m1" \
    'BEGIN { printf "| %s | %.2f %% | %.2f %% | %.2f %% | %d / %d KiB |\n", l, 100*p/hz/t, 100*s/hz/t, 100*x/hz/t, m0, m1 }'
  wineserver -k >/dev/null 2>&1 || true
  sleep 1
  scripts/wine/harness.sh start "$run" >/dev/null
}

echo "| noise | Pendo.exe | wineserver | Xvfb | Pendo.exe resident memory, start / end |"
echo "|---|---|---|---|---|"
measure "on, ${secs} s" 1
measure "off, ${secs} s" 0
echo
wine "$run/app/clock_bench.exe"
