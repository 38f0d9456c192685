#!/usr/bin/env bash
# Starts the real programs under Wine with the desktop's LogPixels at 96,
# 144 and 192 and takes screenshots: build/dpi-shots/<dpi>-clock.png (the
# clock, enlarged), and of the whole screen <dpi>-menu.png (its menu),
# <dpi>-wizard.png and <dpi>-wizard-seethrough.png (the property wizard's
# first and see-through pages), <dpi>-notice.png (a notice) and
# <dpi>-mondax.png (Mondax's first page); prints the clock's size at each.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# shellcheck source=wine/shots.sh
. scripts/wine/shots.sh
shots_build Pendo dist
shots="$root/build/dpi-shots"
rm -rf "$shots/app" "$shots/setup"
mkdir -p "$shots/app/profile" "$shots/setup"
cp "$PENDO_BUILD"/bin/Pendo.exe "$shots/app/Pendo.exe"
cp "$root"/build/win32/dist/* "$shots/setup/"

shots_start "$shots"

for dpi in 96 144 192; do
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  shots_restart
  printf 'left,40\r\ntop,114\r\nclientwidth,117\r\nclientheight,32\r\nfirstboot,0\r\n' \
    >"$shots/app/profile/profile_mainform"
  printf 'horizontalnoise,0\r\ntransparentbackground,0\r\n' >"$shots/app/profile/profile_datepanel"
  rm -f "$shots/app/profile/profile_propertywizardform"
  wine "$shots/app/Pendo.exe" >/dev/null 2>&1 &
  sleep 5
  window=$(xdotool search --onlyvisible --classname pendo.exe 2>/dev/null | head -1 || true)
  if [ -n "$window" ]; then
    eval "$(xdotool getwindowgeometry --shell "$window")"
    echo "$dpi dpi: the clock at $X,$Y, client $WIDTH x $HEIGHT"
    import -window root -display "$DISPLAY" "$shots/$dpi-screen.png"
    convert "$shots/$dpi-screen.png" -crop "$((WIDTH + 40))x$((HEIGHT + 28))+$((X - 20))+$((Y - 14))" +repage \
      -scale 300% "$shots/$dpi-clock.png"
    # The profile's 96-DPI place at this resolution (xdotool's X and Y count the frame twice).
    xdotool mousemove --sync $((100 * dpi / 96)) $((130 * dpi / 96)) click 3
    sleep 1
    import -window root -display "$DISPLAY" "$shots/$dpi-menu.png"
    # The menu's プロパティ(&R)...
    xdotool key r
    sleep 3
    import -window root -display "$DISPLAY" "$shots/$dpi-wizard.png"
    # Three pages on: the see-through page with its two sample pictures.
    for _ in 1 2 3; do xdotool key alt+n; sleep 0.5; done
    sleep 1
    import -window root -display "$DISPLAY" "$shots/$dpi-wizard-seethrough.png"
  else
    echo "$dpi dpi: no clock window"
  fi
  shots_restart
  shots_notice_next_minute "$shots/app/profile"
  wine "$shots/app/Pendo.exe" >/dev/null 2>&1 &
  sleep $((63 - $(date '+%-S')))
  import -window root -display "$DISPLAY" "$shots/$dpi-notice.png"
  rm -f "$shots/app/profile/element_noticelist"
  shots_restart
  wine "$shots/setup/mondax.exe" >/dev/null 2>&1 &
  sleep 5
  import -window root -display "$DISPLAY" "$shots/$dpi-mondax.png"
done
wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
echo "screenshots in $shots"
