#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# The real gauge ticking at 100 Hz on a virtual X display for ten minutes (or $1 seconds):
# prints its resident memory after start, every minute, and at the end.
# Usage: tests/soak/rss.sh [seconds, default 600]. Builds in build/test, or $KELVANE_BUILD.
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KELVANE_BUILD:-$root/build/test}"
seconds="${1:-600}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target kelvane >/dev/null
set -- "$build/kelvane"
# shellcheck source=tests/e2e/e2e_lib.sh
. "$root/tests/e2e/e2e_lib.sh"
start_display 1024x768x24
start_gauge
wait_window

rss() { awk '/^VmRSS:/ {print $2 " kB"}' "/proc/$gauge/status"; }
cpu() { awk '{printf "%.1f s", ($14 + $15) / 100}' "/proc/$gauge/stat"; }
sleep 5
start="$(rss)"
echo "after start: resident $start"
elapsed=0
while [ "$elapsed" -lt "$seconds" ]; do
    step=$((seconds - elapsed < 60 ? seconds - elapsed : 60))
    sleep "$step"
    elapsed=$((elapsed + step))
    check "the gauge still runs after $elapsed s" kill -0 "$gauge"
    echo "after $elapsed s: resident $(rss), processor time $(cpu)"
done
echo "resident at start $start, at the end $(rss)"
finish
