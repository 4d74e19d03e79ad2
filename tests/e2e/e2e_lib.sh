# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# shellcheck shell=sh
# Shared steps of the end-to-end tests: a fresh settings and runtime folder, a private X
# display with a window manager, and small assertions. Source it with the gauge binary as $1.

set -eu
# shellcheck source=tests/check_lib.sh
. "$(dirname "$0")/../check_lib.sh"
# shellcheck source=tools/virtual_display.sh
. "$(dirname "$0")/../../tools/virtual_display.sh"
KELVANE="$1"
WORK="$(mktemp -d)"
export XDG_CONFIG_HOME="$WORK/config" XDG_RUNTIME_DIR="$WORK/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
SETTINGS="$XDG_CONFIG_HOME/Kelvane/Kelvane.conf"
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
pids=""

cleanup() {
    for pid in $pids; do kill "$pid" 2>/dev/null || true; done
    for pid in $pids; do wait "$pid" 2>/dev/null || true; done
    stop_virtual_display
    rm -rf "$WORK"
}
trap cleanup EXIT

# Starts the gauge in the background; its pid is in $gauge.
start_gauge() {
    "$KELVANE" "$@" &
    gauge=$!
    pids="$pids $gauge"
}

# Prints "x y width height" of a window, as placed on the screen.
geometry_of() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
# Ends the gauge with SIGTERM: it saved where it stood when the settings hold Left=$1*15, Top=$2*15.
saved_at() {
    kill -TERM "$gauge" && wait "$gauge" || true
    grep -qx "Left=$(($1 * 15))" "$SETTINGS" && grep -qx "Top=$(($2 * 15))" "$SETTINGS"
}
# Runs the command until it succeeds, for up to a minute.
eventually() { for _ in $(seq 600); do "$@" 2>/dev/null && return 0; sleep 0.1; done; return 1; }
