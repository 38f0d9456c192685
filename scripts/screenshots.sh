#!/usr/bin/env bash
# Takes screenshots of Pendo's clock in its main looks over a photograph
# wallpaper: build/shots/<look>.png (whole screen) and <look>-zoom.png (the
# clock enlarged four times).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# shellcheck source=wine/shots.sh
. scripts/wine/shots.sh
shots_build Pendo
shots="$root/build/shots"
mkdir -p "$shots/app/profile"
cp "$PENDO_BUILD"/bin/Pendo.exe "$shots/app/Pendo.exe"
[ -d /usr/share/backgrounds/mate/nature ] || apt-get install -y -qq mate-backgrounds >/dev/null
convert /usr/share/backgrounds/mate/nature/GreenMeadow.jpg -resize 1024x768^ -gravity center -extent 1024x768 \
  -type TrueColor BMP3:"$shots/wallpaper.bmp"

shots_start "$shots"
wine reg add 'HKCU\Control Panel\Desktop' /v Wallpaper /d "Z:${shots//\//\\}\\wallpaper.bmp" /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v WallpaperStyle /d 2 /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v TileWallpaper /d 0 /f >/dev/null 2>&1
shots_restart

shoot() {  # look, placement lines, panel lines
  local look=$1 left=$2 top=$3
  printf 'left,%s\r\ntop,%s\r\nclientwidth,117\r\nclientheight,32\r\nfirstboot,0\r\n' "$left" "$top" \
    >"$shots/app/profile/profile_mainform"
  printf '%b' "$4" >"$shots/app/profile/profile_datepanel"
  wine "$shots/app/Pendo.exe" >/dev/null 2>&1 &
  sleep 4
  import -window root -display "$DISPLAY" "$shots/$look.png"
  convert "$shots/$look.png" -crop "160x60+$((left - 20))+$((top - 14))" +repage -scale 400% "$shots/$look-zoom.png"
  shots_restart
}

shoot see-through-halftone 40 114 'horizontalnoise,0\r\n'
shoot gradation 40 114 'transparentbackground,0\r\nhorizontalnoise,0\r\n'
shoot see-through 40 114 'transparentbackgroundhalftone,0\r\nhorizontalnoise,0\r\n'
shoot interlace 40 114 'transparentbackgroundhalftone,0\r\ninterlace,1\r\nhorizontalnoise,0\r\n'
shoot noise 40 114 'horizontalnoise,1\r\n'
shoot moved 600 500 'horizontalnoise,0\r\n'

shots_notice_next_minute "$shots/app/profile"
printf 'firstboot,0\r\n' >"$shots/app/profile/profile_mainform"
printf 'horizontalnoise,0\r\n' >"$shots/app/profile/profile_datepanel"
wine "$shots/app/Pendo.exe" >/dev/null 2>&1 &
sleep $((62 - $(date '+%-S')))
import -window root -display "$DISPLAY" "$shots/notice.png"
convert "$shots/notice.png" -crop 320x60+352+354 +repage -scale 300% "$shots/notice-zoom.png"
wineserver -k >/dev/null 2>&1 || true
rm -f "$shots/app/profile/element_noticelist"
echo "screenshots in $shots"
