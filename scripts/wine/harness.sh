#!/usr/bin/env bash
# harness.sh start|stop BUILD_DIR
# start: one Xvfb and one persistent wineserver for the whole test run, with a
#        private prefix (created on first use) and a HOME whose ALSA default
#        device records every sample played into a file.
# stop:  ends everything that start began, by process id.
set -uo pipefail
cmd=${1:?start or stop}
build=$(cd "${2:?build folder}" && pwd)
export PENDO_WINE_DIR="$build/wine"
mkdir -p "$PENDO_WINE_DIR"
state="$PENDO_WINE_DIR"

alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }

stop() {
  # shellcheck source=/dev/null
  . "$(dirname "$0")/wine-env.sh"
  local spid xpid
  spid=$(cat "$state/wineserver.pid" 2>/dev/null || true)
  xpid=$(cat "$state/xvfb.pid" 2>/dev/null || true)
  if alive "$spid"; then
    wineserver -k >/dev/null 2>&1 || true
    for _ in $(seq 50); do alive "$spid" || break; sleep 0.1; done
    alive "$spid" && kill -9 "$spid" 2>/dev/null
  fi
  if alive "$xpid"; then
    kill "$xpid" 2>/dev/null
    for _ in $(seq 50); do alive "$xpid" || break; sleep 0.1; done
    alive "$xpid" && kill -9 "$xpid" 2>/dev/null
  fi
  rm -f "$state/wineserver.pid" "$state/xvfb.pid" "$state/display"
  return 0
}

start() {
  stop
  local n
  for n in $(seq 91 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$state/xvfb.log" 2>&1 </dev/null &
  echo $! >"$state/xvfb.pid"
  for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  [ -e "/tmp/.X11-unix/X$n" ] || { echo "Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; stop; exit 1; }
  echo ":$n" >"$state/display"

  # shellcheck source=/dev/null
  . "$(dirname "$0")/wine-env.sh"
  mkdir -p "$WINEPREFIX" "$HOME"
  cat >"$HOME/.asoundrc" <<ASOUND
pcm.!default {
  type file
  slave.pcm "null"
  file "|cat >> $PENDO_WINE_DIR/sound.raw"
  format "raw"
}
ASOUND
  setsid wineserver -f -p >"$state/wineserver.log" 2>&1 </dev/null &
  echo $! >"$state/wineserver.pid"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >"$state/wineboot.log" 2>&1 || { echo "wineboot failed" >&2; cat "$state/wineboot.log" >&2; stop; exit 1; }
  fi
  if ! grep -q '"Arial"="Liberation Sans"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    # Arial's metric twin, so that texts measure as they do on Windows.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d "Liberation Sans" /f >/dev/null 2>&1
  fi
  if ! grep -q '"IPAPGothic"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    # The wizards' proportional Gothic by its proportional twin, so their lines fit as on Windows.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "ＭＳ Ｐゴシック" /d IPAPGothic /f >/dev/null 2>&1
  fi
  if ! grep -q '"Desktop"="Default"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    # Windows go into a virtual desktop, which paints a wallpaper and has a
    # notification area. The server's desktop exists already: start afresh.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
    local spid
    spid=$(cat "$state/wineserver.pid")
    wineserver -k >/dev/null 2>&1 || true
    for _ in $(seq 50); do alive "$spid" || break; sleep 0.1; done
    alive "$spid" && kill -9 "$spid" 2>/dev/null
    setsid wineserver -f -p >>"$state/wineserver.log" 2>&1 </dev/null &
    echo $! >"$state/wineserver.pid"
  fi
  wine cmd /c exit 0 >/dev/null 2>&1 || true
  echo "wine harness up on display :$n, prefix $WINEPREFIX"
}

case $cmd in
  start) start ;;
  stop) stop ;;
  *) echo "usage: harness.sh start|stop BUILD_DIR" >&2; exit 2 ;;
esac
