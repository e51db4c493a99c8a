#!/usr/bin/env bash
# Installs what building, running and testing Dalvino needs on Debian 12 (the one list of
# the packages it needs); `install-deps.sh package` adds what making and checking the .deb
# package needs.
set -euo pipefail
packages=(
  cmake ninja-build g++ ccache                       # the build
  qt6-base-dev qt6-base-dev-tools libgl-dev          # Qt 6 Widgets, Print Support
  libqt6svg6                                         # the SVG pictures
  libicu-dev                                         # code page 932, collation
  libphonenumber-dev                                 # the number check (Japan's numbering plan)
  fonts-ipafont-gothic qt6-translations-l10n         # the Japanese font and Qt's Japanese texts
  libmecab-dev mecab mecab-ipadic-utf8               # kana readings of names (mecab: the benchmark's baseline)
  xvfb xauth openbox xdotool imagemagick             # desktop tests and screenshots
  poppler-utils                                      # the printed list's tests read its PDF back
)
if [ "${1:-}" = package ]; then
  packages+=(
    dpkg-dev file help2man desktop-file-utils appstream  # the .deb, its manual page, its checks
  )
fi
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing ${missing[*]}..."
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
