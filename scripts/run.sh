#!/usr/bin/env bash
# Installs what is missing, builds the programs (not the tests) and starts Dalvino on the
# file named, if any. Without a display it shows `dalvino-cli info` on that file (or on a
# sample) instead.
set -euo pipefail
# The file is named from where the user is; the build runs from the top of the sources.
arguments=()
for argument in "$@"; do
  case "$argument" in
    /*) arguments+=("$argument") ;;
    *) arguments+=("$PWD/$argument") ;;
  esac
done
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
[ -f build/bin/Dalvino ] || echo "Building Dalvino into build/bin (the first time takes several minutes)..."
bash scripts/build.sh programs
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  file="${arguments[0]:-$PWD/samples/lm630pro.leg}"
  echo "No display here: showing dalvino-cli info on ${file} instead of the window" \
       "(run under a desktop, or under xvfb-run, for the window)."
  exec build/bin/dalvino-cli info "$file"
fi
exec build/bin/Dalvino "${arguments[@]}"
