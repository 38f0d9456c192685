# Sourced: the environment every Wine process of one build folder shares.
# Needs PENDO_WINE_DIR (the harness folder inside the build folder).
export WINEPREFIX="$PENDO_WINE_DIR/prefix"
export WINEDEBUG=-all
# No debugger on a crash: the process just ends, so a crashing test fails at once.
export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
export HOME="$PENDO_WINE_DIR/home"
if [ -f "$PENDO_WINE_DIR/display" ]; then
  DISPLAY=$(cat "$PENDO_WINE_DIR/display"); export DISPLAY
fi
