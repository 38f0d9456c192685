#!/usr/bin/env bash
# Installs what the build, the tests and the run need from Debian's packages.
# Idempotent: does nothing when everything is already there.
set -euo pipefail

need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

pkgs=(
  cmake ninja-build g++ clang-14 libclang-rt-14-dev
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64 wine32:i386
  xvfb xauth x11-utils xdotool imagemagick
  locales fonts-ipafont-gothic fonts-ipafont-mincho fonts-liberation
  googletest libbenchmark-dev python3 python3-pil
)
for p in "${pkgs[@]}"; do have "$p" || need+=("$p"); done

if [ ${#need[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "missing packages: ${need[*]} (run as root to install them)" >&2
    exit 1
  fi
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  # A mirror caught mid-sync fails an index or two for a minute: try again,
  # and go on with what was read, since the packages may well be there.
  for try in 1 2 3; do
    apt-get update -qq && break
    [ "$try" = 3 ] && echo "apt-get update failed three times; installing from the indexes read" >&2
    sleep 20
  done
  # Without the security index of one architecture, its packages and the
  # other's newer ones no longer match (multiarch wants one version): then
  # take the release's own versions, which both architectures have.
  release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null ||
    { [ -n "$release" ] && apt-get install -y -qq --no-install-recommends -t "$release" "${need[@]}" >/dev/null; }
fi

# Japanese for the programs' own tests; English (code page 1252) for the
# tests that show the programs right on a system that is not Japanese.
for loc in ja_JP en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$loc\.utf-\?8$"; then
    if [ "$(id -u)" -eq 0 ]; then
      sed -i "s/^# *\($loc.UTF-8 UTF-8\)/\1/" /etc/locale.gen
      grep -q "^$loc.UTF-8 UTF-8" /etc/locale.gen || echo "$loc.UTF-8 UTF-8" >> /etc/locale.gen
      locale-gen >/dev/null
    else
      echo "locale $loc.UTF-8 is missing (run as root to generate it)" >&2
      exit 1
    fi
  fi
done

