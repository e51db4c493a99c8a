#!/usr/bin/env bash
# Installs what building, running and testing Dalvino needs on Debian 12.
set -euo pipefail
packages=(cmake ninja-build g++ ccache qt6-base-dev qt6-base-dev-tools libicu-dev libphonenumber-dev libgl-dev
          fonts-ipafont-gothic qt6-translations-l10n xvfb xauth imagemagick openbox xdotool)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
