#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# What the 100 Hz tick costs the gauge as a layer surface on headless sway, against the gauge on
# X11 (Xvfb + openbox) and through sway's XWayland, in the same run: the client's CPU (all its
# threads, from schedstat), the display server's (Xvfb, or sway with its XWayland) and the
# client's wake-ups, each case measured alone.
#   bench/wayland.sh KELVANE     (as a user other than root, which sway refuses)
# Environment: DURATION=20 WARMUP=3 REPS=3 (seconds measured, seconds skipped, repetitions)
set -eu
here="$(cd "$(dirname "$0")" && pwd)"
kelvane="$(realpath "$1")"
DURATION="${DURATION:-20}" WARMUP="${WARMUP:-3}" REPS="${REPS:-3}"
work="$(mktemp -d)"
# shellcheck source=tools/virtual_display.sh
. "$here/../tools/virtual_display.sh"
trap 'kill $pids 2>/dev/null || true; stop_virtual_display; rm -rf "$work"' EXIT
pids=""

cpu_ns() { for p in "$@"; do cat /proc/"$p"/task/*/schedstat 2>/dev/null; done | awk '{s += $1} END {printf "%.0f\n", s}'; }
wakeups() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ {s += $2} END {print s + 0}'; }
eventually() { for _ in $(seq 600); do "$@" 2>/dev/null && return 0; sleep 0.1; done; return 1; }

# measure NAME SERVER_PIDS... -- COMMAND...: one line of figures, in % of one CPU and per second.
measure() {
    name="$1" && shift
    servers=""
    while [ "$1" != -- ]; do servers="$servers $1" && shift; done
    shift
    rm -rf "$work/config" "$work/runtime" && mkdir -p "$work/config" && mkdir -m 700 "$work/runtime"
    XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" "$@" &
    client=$!
    sleep "$WARMUP"
    # shellcheck disable=SC2086 # one argument for each server pid
    c0=$(cpu_ns "$client") s0=$(cpu_ns $servers) w0=$(wakeups "$client") t0=$(date +%s.%N)
    sleep "$DURATION"
    # shellcheck disable=SC2086 # as above
    c1=$(cpu_ns "$client") s1=$(cpu_ns $servers) w1=$(wakeups "$client") t1=$(date +%s.%N)
    kill "$client" && wait "$client" || true
    awk -v n="$name" -v c=$((c1 - c0)) -v s=$((s1 - s0)) -v w=$((w1 - w0)) -v t0="$t0" -v t1="$t1" \
        'BEGIN {d = t1 - t0; printf "| %s | %.3f | %.3f | %.1f |\n", n, c / 1e7 / d, s / 1e7 / d, w / d}'
}

start_virtual_display "$work" || exit 1
xvfb="$xserver"
# sway with its XWayland, which it starts at once with this configuration.
printf 'output * mode 1024x768\nxwayland enable\nexec sh -c "env >%s/env.new && mv %s/env.new %s/env"\n' \
    "$work" "$work" "$work" >"$work/sway.conf"
XDG_RUNTIME_DIR="$work" WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 \
    sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
sway=$!
pids="$sway"
eventually test -s "$work/env"
wayland="$(sed -n 's/^WAYLAND_DISPLAY=//p' "$work/env")"
sway_display="$(sed -n 's/^DISPLAY=//p' "$work/env")"
xwayland() { pgrep -P "$sway" -x Xwayland || true; }

echo "| case | client CPU % | server CPU % | client wake-ups/s |"
echo "|---|---:|---:|---:|"
for _ in $(seq "$REPS"); do
    measure "X11 (Xvfb, openbox)" "$xvfb" -- env -u WAYLAND_DISPLAY DISPLAY="$DISPLAY" "$kelvane"
    # shellcheck disable=SC2046 # no Xwayland (yet) is no server pid at all, not an empty one
    measure "sway, layer surface" "$sway" $(xwayland) -- env -u DISPLAY WAYLAND_DISPLAY="$work/$wayland" "$kelvane"
    # shellcheck disable=SC2046 # as above
    measure "sway, XWayland" "$sway" $(xwayland) -- env WAYLAND_DISPLAY="$work/$wayland" DISPLAY="$sway_display" \
        QT_QPA_PLATFORM=xcb "$kelvane"
done
