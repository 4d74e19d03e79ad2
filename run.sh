#!/bin/sh
# Builds Kelvane (Release) and starts it. Without any display, starts it on a virtual X
# display instead, saves a screenshot and stops it.
set -eu
cd "$(dirname "$0")"
. tools/deps.sh
ensure_packages build
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=OFF >/dev/null
cmake --build build/release

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec build/release/kelvane "$@"
fi

ensure_packages headless
shot="$(pwd)/build/kelvane-screenshot.png"
exec 3>build/xvfb-display
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
exec 3>&-
tries=0
while [ ! -s build/xvfb-display ] && [ $tries -lt 50 ]; do sleep 0.1; tries=$((tries + 1)); done
DISPLAY=":$(cat build/xvfb-display)"
export DISPLAY
openbox >/dev/null 2>&1 &
wm=$!
sleep 1
build/release/kelvane "$@" &
gauge=$!
sleep 2
import -window root "$shot"
kill "$gauge" 2>/dev/null || true
wait "$gauge" 2>/dev/null || true
kill "$wm" "$xvfb" 2>/dev/null || true
echo "No display found: Kelvane ran on a virtual X display; its screenshot is $shot"
