# Sourced by the screenshot scripts: builds what they start, and runs a
# Wine desktop of their own in a folder, started afresh by shots_restart.
shots_build() {  # cmake targets
  bash scripts/install-deps.sh
  # shellcheck source=../lane.sh
  . scripts/lane.sh
  cmake --preset "$PENDO_LANE" >/dev/null
  cmake --build --preset "$PENDO_LANE" --target "$@"
}

shots_start() {  # the folder
  shots_folder=$1
  export PENDO_WINE_DIR="$shots_folder/wine"
  trap 'scripts/wine/harness.sh stop "$shots_folder" >/dev/null 2>&1 || true' EXIT
  shots_restart
}

# Settings the desktop reads only when it starts take effect here.
shots_restart() {
  wineserver -k >/dev/null 2>&1 || true
  sleep 1
  scripts/wine/harness.sh start "$shots_folder" >/dev/null
  # shellcheck source=wine-env.sh
  . scripts/wine/wine-env.sh
}

# A notice with a Japanese message due in the next minute, into a profile
# folder: the window opens in the middle of the screen for 16 seconds.
shots_notice_next_minute() {  # the profile folder
  local due
  due=$(date -d '+1 minute' '+%-H,%-M')
  printf '2,0,0,0,%s,%s\r\n' "$due" "$(printf '会議の時間です。資料を忘れずに' | iconv -f UTF-8 -t CP932)" \
    >"$1/element_noticelist"
}
