#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Takes the README's screenshot, docs/screenshot.png: the real gauge on a virtual X display
# with openbox, at a device pixel ratio of 2, after F11 (the seven memory panels and drive C:).
#
#   tools/screenshot.sh [KELVANE_BINARY]
#
# Without a binary, builds one in build/release as ./run.sh does.
set -eu
cd "$(dirname "$0")/.."
. tools/deps.sh
ensure_packages test
ensure_packages headless
if [ $# -ge 1 ]; then
    kelvane="$1"
else
    ensure_packages build
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=OFF >/dev/null
    cmake --build build/release
    kelvane=build/release/kelvane
fi

work="$(mktemp -d)"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
. tools/virtual_display.sh
stop() {
    # The gauge first, so that it does not see its display vanish.
    [ -n "$gauge" ] && kill "$gauge" 2>/dev/null && wait "$gauge" 2>/dev/null
    stop_virtual_display
    rm -rf "$work"
}
gauge=""
trap stop EXIT
start_virtual_display "$work" 1600x1200x24

QT_SCALE_FACTOR=2 "$kelvane" &
gauge=$!
wait_gauge_window
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
xdotool key F11
sleep 1
mkdir -p docs
import -window "$window" docs/screenshot.png
echo "docs/screenshot.png: $(identify -format '%w x %h' docs/screenshot.png)"
