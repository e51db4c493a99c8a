#!/usr/bin/env bash
# Installs what is missing, builds, and starts Dalvino (arguments are passed on, e.g. a
# phone-book file). Without a display it shows the program's work headless instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No display here: showing dalvino-cli on a sample instead of the window (run under a desktop or xvfb-run for the GUI)."
  if [ -x build/bin/dalvino-cli ] && [ -f samples/lm630pro.leg ]; then
    build/bin/dalvino-cli info samples/lm630pro.leg
  fi
  exit 0
fi
exec build/bin/Dalvino "$@"
