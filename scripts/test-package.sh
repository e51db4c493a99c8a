#!/usr/bin/env bash
# Makes the .deb package from build/, installs it with apt-get as a user would, and checks
# the installed copy: dalvino-cli runs from /opt/dalvino and from the PATH, converts a
# sample through the installed converter, the window starts, both keep their files in the
# user's own folders and leave /opt/dalvino as installed, the manual page is found, and the
# desktop file and the AppStream data pass their validators. The package is removed again
# at the end unless it was installed before.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh package
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO="sudo"

# The package target builds everything in build/ first.
bash scripts/build.sh
rm -f build/dalvino_*.deb
log=$(mktemp)
if ! cmake --build build --target package >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
rm -f "$log"
debs=(build/dalvino_*.deb)
deb="./${debs[0]}"
echo "Made $deb ($(du -k "$deb" | cut -f1) KiB); it depends on: $(dpkg-deb -f "$deb" Depends)"
# The libraries come from dpkg-shlibdeps, not from a list of ours.
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6
# Qt loads the SVG icon engine as a plug-in, which no library list shows: without it the
# installed program has no menu or tool bar pictures.
dpkg-deb -f "$deb" Depends | grep -q libqt6svg6

home=$(mktemp -d)
remove_after=yes
dpkg-query -W -f='${Status}' dalvino 2>/dev/null | grep -q "install ok installed" && remove_after=no
cleanup() {
  rm -rf "$home"
  if [ "$remove_after" = yes ]; then $SUDO apt-get remove -y dalvino >/dev/null; fi
}
trap cleanup EXIT
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y "$deb"

/opt/dalvino/dalvino-cli --help >/dev/null
dalvino-cli --help >/dev/null
man -w dalvino-cli
desktop-file-validate /usr/share/applications/org.dalvino.dalvino.desktop
appstreamcli validate --no-net /usr/share/metainfo/org.dalvino.dalvino.metainfo.xml

# A user who has never run it: the working folder is made in the user's cache.
as_new_user=(env -u XDG_CACHE_HOME -u XDG_CONFIG_HOME HOME="$home" XDG_RUNTIME_DIR="$home")
"${as_new_user[@]}" dalvino-cli convert samples/lm630pro.leg "$home/maruyama.xml"
[ -s "$home/maruyama.xml" ] && [ -d "$home/.cache/dalvino/temp" ]
# The window starts (it is still running when the time is up) and makes the same folder.
rm -rf "$home/.cache"
status=0
"${as_new_user[@]}" QT_QPA_PLATFORM=offscreen timeout 5 /opt/dalvino/Dalvino || status=$?
[ "$status" -eq 124 ] && [ -d "$home/.cache/dalvino/temp" ]
expected="Dalvino Dalvino.installed Quenda.dll dalvino-cli data"
actual=$(ls /opt/dalvino | tr '\n' ' ' | sed 's/ $//')
if [ "$actual" != "$expected" ]; then
  echo "/opt/dalvino holds \"$actual\", not \"$expected\"" >&2
  exit 1
fi
echo "The package installs and its programs run."
