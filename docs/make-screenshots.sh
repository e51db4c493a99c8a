#!/usr/bin/env bash
# Builds the screenshot program if needed (into build-docs/, apart from the product
# build) and takes a picture of every window of Dalvino on the sample phone book under
# a virtual X server. The pictures land in docs/ as PNG files.
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in xvfb-run cmake ninja; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh first" >&2; exit 1; }
done
fc-list : family | grep -i 'IPAGothic' >/dev/null || echo "warning: the IPA Gothic font is missing, Japanese text will not render (scripts/install-deps.sh installs it)" >&2

export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(cd .. && pwd)}"
log=$(mktemp)
if ! { cmake -S . -B build-docs -G Ninja -DCMAKE_BUILD_TYPE=Release -DDALVINO_TESTS=OFF -DDALVINO_SCREENSHOTS=ON &&
       cmake --build build-docs --parallel "$(nproc)" --target dalvino-screenshots quenda dalvino_data; } >"$log" 2>&1; then
  cat "$log" >&2
  rm -f "$log"
  exit 1
fi
rm -f "$log"

runtime=$(mktemp -d)
trap 'rm -rf "$runtime"' EXIT
# A plain X server without a window manager: every window is taken by itself with
# QWidget::grab(), so no decoration and no overlap shows.
env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" LC_ALL=C.UTF-8 \
  xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -dpi 96" \
  build-docs/bin/dalvino-screenshots docs samples
