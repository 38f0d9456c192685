#!/usr/bin/env bash
# Takes screenshots of Pendo's clock in its main looks over a photograph
# wallpaper: build/shots/<look>.png (whole screen) and <look>-zoom.png (the
# clock enlarged four times).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/install-deps.sh
# shellcheck source=/dev/null
. scripts/lane.sh
cmake --preset "$PENDO_LANE" >/dev/null
cmake --build --preset "$PENDO_LANE" --target Pendo
shots="$root/build/shots"
mkdir -p "$shots/app/profile"
cp "$PENDO_BUILD"/bin/Pendo.exe "$shots/app/Pendo.exe"
[ -d /usr/share/backgrounds/mate/nature ] || apt-get install -y -qq mate-backgrounds >/dev/null
convert /usr/share/backgrounds/mate/nature/GreenMeadow.jpg -resize 1024x768^ -gravity center -extent 1024x768 \
  -type TrueColor BMP3:"$shots/wallpaper.bmp"

scripts/wine/harness.sh start "$shots" >/dev/null
trap 'scripts/wine/harness.sh stop "$shots" >/dev/null 2>&1 || true' EXIT
export PENDO_WINE_DIR="$shots/wine"
# shellcheck source=/dev/null
. scripts/wine/wine-env.sh
wine reg add 'HKCU\Control Panel\Desktop' /v Wallpaper /d "Z:${shots//\//\\}\\wallpaper.bmp" /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v WallpaperStyle /d 2 /f >/dev/null 2>&1
wine reg add 'HKCU\Control Panel\Desktop' /v TileWallpaper /d 0 /f >/dev/null 2>&1
# The desktop reads its wallpaper when it starts.
wineserver -k >/dev/null 2>&1 || true
scripts/wine/harness.sh start "$shots" >/dev/null
. scripts/wine/wine-env.sh

shoot() {  # look, placement lines, panel lines
  local look=$1 left=$2 top=$3
  printf 'left,%s\r\ntop,%s\r\nclientwidth,117\r\nclientheight,32\r\nfirstboot,0\r\n' "$left" "$top" \
    >"$shots/app/profile/profile_mainform"
  printf '%b' "$4" >"$shots/app/profile/profile_datepanel"
  wine "$shots/app/Pendo.exe" >/dev/null 2>&1 &
  sleep 4
  import -window root -display "$DISPLAY" "$shots/$look.png"
  convert "$shots/$look.png" -crop "160x60+$((left - 20))+$((top - 14))" +repage -scale 400% "$shots/$look-zoom.png"
  wineserver -k >/dev/null 2>&1 || true
  sleep 1
  scripts/wine/harness.sh start "$shots" >/dev/null
  . scripts/wine/wine-env.sh
}

shoot see-through-halftone 40 114 'horizontalnoise,0\r\n'
shoot gradation 40 114 'transparentbackground,0\r\nhorizontalnoise,0\r\n'
shoot see-through 40 114 'transparentbackgroundhalftone,0\r\nhorizontalnoise,0\r\n'
shoot interlace 40 114 'transparentbackgroundhalftone,0\r\ninterlace,1\r\nhorizontalnoise,0\r\n'
shoot noise 40 114 'horizontalnoise,1\r\n'
shoot moved 600 500 'horizontalnoise,0\r\n'

# A notice with a Japanese message, due in the next minute: the window opens
# in the middle of the screen for 16 seconds.
due=$(date -d '+1 minute' '+%-H,%-M')
printf '2,0,0,0,%s,%s\r\n' "$due" "$(printf '会議の時間です。資料を忘れずに' | iconv -f UTF-8 -t CP932)" \
  >"$shots/app/profile/element_noticelist"
printf 'firstboot,0\r\n' >"$shots/app/profile/profile_mainform"
printf 'horizontalnoise,0\r\n' >"$shots/app/profile/profile_datepanel"
wine "$shots/app/Pendo.exe" >/dev/null 2>&1 &
sleep $((62 - $(date '+%-S')))
import -window root -display "$DISPLAY" "$shots/notice.png"
convert "$shots/notice.png" -crop 320x60+352+354 +repage -scale 300% "$shots/notice-zoom.png"
wineserver -k >/dev/null 2>&1 || true
rm -f "$shots/app/profile/element_noticelist"
echo "screenshots in $shots"
