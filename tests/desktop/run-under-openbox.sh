#!/usr/bin/env bash
# Runs one test program on its own virtual X server under the openbox window manager, so
# that window placement, activation and the keyboard focus are those of a real desktop.
#   run-under-openbox.sh PROGRAM [ARGUMENTS...]
set -euo pipefail

for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: run scripts/install-deps.sh" >&2; exit 1; }
done

work=$(mktemp -d)
xvfb=
wm=
finish() {
  for pid in $wm $xvfb; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}
trap finish EXIT

# waitfor FILE WHAT: up to a minute, for a loaded machine.
waitfor() {
  for _ in $(seq 600); do
    [ -s "$1" ] && return 0
    sleep 0.1
  done
  echo "$2 did not start" >&2
  exit 1
}

# The server picks a free display itself and names it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
waitfor "$work/display" "Xvfb"
export DISPLAY=":$(cat "$work/display")"

# openbox runs its start-up command once it manages the screen.
openbox --sm-disable --startup "sh -c 'echo ready > $work/wm'" 2>"$work/openbox.log" &
wm=$!
waitfor "$work/wm" "openbox"

# Under the sanitizers: libxkbcommon-x11, which reads the X keyboard map for Qt, copies X
# atom names with strndup from buffers without a terminating NUL. That is correct, but
# the strict string checks report it, so they are off for the programs run here.
if [ -n "${ASAN_OPTIONS:-}" ]; then
  export ASAN_OPTIONS="$ASAN_OPTIONS:strict_string_checks=0"
fi

runtime="$work/runtime"
mkdir -m 700 "$runtime"
status=0
env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$runtime" "$@" || status=$?
exit $status
