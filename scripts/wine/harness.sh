#!/usr/bin/env bash
# harness.sh start|stop BUILD_DIR [DESKTOPS [ARCH]]
# start: DESKTOPS (default PENDO_WINE_DESKTOPS or 1) independent desktops for a
#        test run, so that tests on different desktops can run side by side:
#        each one Xvfb and one persistent wineserver with a private prefix
#        (created on first use) and a HOME whose ALSA default device records
#        every sample played into a file. Desktop 0 lives in BUILD_DIR/wine,
#        desktop N in BUILD_DIR/wine-N.
# stop:  ends everything that start began, by process id, on every desktop.
# The loader (ARCH: win32 or win64) is the one the build folder's programs
# need (CTest's fixture says it), else PENDO_WINE_ARCH, else win32.
set -uo pipefail
cmd=${1:?start or stop}
build=$(cd "${2:?build folder}" && pwd)
desktops=${3:-${PENDO_WINE_DESKTOPS:-1}}
PENDO_WINE_ARCH=${4:-${PENDO_WINE_ARCH:-win32}}
case $PENDO_WINE_ARCH in win32|win64) ;; *) echo "harness: no loader for '$PENDO_WINE_ARCH'" >&2; exit 2 ;; esac
here=$(cd "$(dirname "$0")" && pwd)
export PENDO_WINE_ARCH

alive() { [ -n "${1:-}" ] && kill -0 "$1" 2>/dev/null; }

stop() {
  state=$PENDO_WINE_DIR
  # shellcheck source=/dev/null
  . "$here/wine-env.sh"
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
  echo "$PENDO_WINE_ARCH" >"$state/arch"
  local n xpid up=""
  # A free display number; should another harness claim it first, this
  # Xvfb ends at once and the next number is tried.
  for n in $(seq 91 199); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    setsid Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >"$state/xvfb.log" 2>&1 </dev/null &
    xpid=$!
    echo $xpid >"$state/xvfb.pid"
    for _ in $(seq 100); do
      alive "$xpid" || break
      # Ours once the display's lock names this Xvfb.
      [ -e "/tmp/.X11-unix/X$n" ] && [ "$(tr -dc 0-9 <"/tmp/.X$n-lock" 2>/dev/null)" = "$xpid" ] && { up=1; break; }
      sleep 0.1
    done
    [ -n "$up" ] && break
  done
  [ -n "$up" ] || { echo "Xvfb did not start" >&2; cat "$state/xvfb.log" >&2; stop; exit 1; }
  echo ":$n" >"$state/display"

  # shellcheck source=/dev/null
  . "$here/wine-env.sh"
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
    # A first boot on a busy machine may fail half-way: once more from scratch.
    if ! wineboot -i >"$state/wineboot.log" 2>&1 || [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineserver -k >/dev/null 2>&1 || true
      rm -rf "$WINEPREFIX"
      mkdir -p "$WINEPREFIX"
      setsid wineserver -f -p >>"$state/wineserver.log" 2>&1 </dev/null &
      echo $! >"$state/wineserver.pid"
      wineboot -i >>"$state/wineboot.log" 2>&1 || { echo "wineboot failed" >&2; cat "$state/wineboot.log" >&2; stop; exit 1; }
    fi
  fi
  if ! grep -q '"Arial"="Liberation Sans"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    # Arial's metric twin, so that texts measure as they do on Windows.
    wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v Arial /d "Liberation Sans" /f >/dev/null 2>&1
  fi
  if ! grep -q '"IPAPGothic"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    # The proportional Gothic for the proportional Japanese face the forms
    # name, so that their texts take the width they take on Windows.
    for face in "ＭＳ Ｐゴシック" "MS Pゴシック" "MS PGothic"; do
      wine reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$face" /d IPAPGothic /f >/dev/null 2>&1
    done
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

desktop_dir() { if [ "$1" -eq 0 ]; then echo "$build/wine"; else echo "$build/wine-$1"; fi; }

case $cmd in
  start)
    status=0
    for ((i = 0; i < desktops; i++)); do
      export PENDO_WINE_DIR; PENDO_WINE_DIR=$(desktop_dir $i)
      mkdir -p "$PENDO_WINE_DIR"
      state=$PENDO_WINE_DIR
      # Each desktop boots its own prefix; they start side by side.
      (start) &
    done
    for job in $(jobs -p); do wait "$job" || status=1; done
    exit $status
    ;;
  stop)
    for dir in "$build/wine" "$build"/wine-[0-9]*; do
      [ -d "$dir" ] || continue
      export PENDO_WINE_DIR=$dir
      (stop)
    done
    ;;
  *) echo "usage: harness.sh start|stop BUILD_DIR [DESKTOPS [ARCH]]" >&2; exit 2 ;;
esac
