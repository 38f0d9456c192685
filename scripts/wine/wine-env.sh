# Sourced: the environment every Wine process of one harness folder shares.
# Needs PENDO_WINE_DIR (the harness folder). Its "arch" file (written by the
# harness; before there is one, PENDO_WINE_ARCH) says which loader: win32
# (Wine's i386 loader) or win64 (wine64 and a 64-bit prefix, for the x86_64
# build).
pendo_wine_arch=$(cat "$PENDO_WINE_DIR/arch" 2>/dev/null || echo "${PENDO_WINE_ARCH:-win32}")
if [ "$pendo_wine_arch" = win64 ]; then
  export WINEPREFIX="$PENDO_WINE_DIR/prefix64" WINEARCH=win64 WINELOADER=/usr/lib/wine/wine64
  pendo_bin64="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/bin64"
  case ":$PATH:" in *":$pendo_bin64:"*) ;; *) export PATH="$pendo_bin64:$PATH" ;; esac
else
  export WINEPREFIX="$PENDO_WINE_DIR/prefix"
fi
export WINEDEBUG=-all
# No debugger on a crash: the process just ends, so a crashing test fails at once.
# No menu builder either: it reads a new shortcut's target at a moment of its
# choosing, and writes desktop entries nobody asked for.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe,winemenubuilder.exe=d"
# The system locale Wine gives its processes: Japanese unless a test asks
# for another (PENDO_WINE_LANG=en_US.UTF-8 runs the programs on code page 1252).
export LANG="${PENDO_WINE_LANG:-ja_JP.UTF-8}" LC_ALL="${PENDO_WINE_LANG:-ja_JP.UTF-8}"
export HOME="$PENDO_WINE_DIR/home"
if [ -f "$PENDO_WINE_DIR/display" ]; then
  DISPLAY=$(cat "$PENDO_WINE_DIR/display"); export DISPLAY
fi
