#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
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
. tools/virtual_display.sh
start_virtual_display build
build/release/kelvane "$@" &
gauge=$!
sleep 2
import -window root "$shot"
kill "$gauge" 2>/dev/null || true
wait "$gauge" 2>/dev/null || true
stop_virtual_display
echo "No display found: Kelvane ran on a virtual X display; its screenshot is $shot"
