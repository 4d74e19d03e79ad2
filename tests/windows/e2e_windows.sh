#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# kelvane.exe under Wine, on a private X display with openbox, driven as a user drives it and
# read back from the X server and the registry: the first start and a stored place, kept above
# other windows, the function keys, a title click, the drag, a pin, the close that saves every
# value, a second start, the help window. Its own Wine prefix, whose server is started with the
# display (a server started without one gives windows none).
# Usage: e2e_windows.sh KELVANE_EXE WINE64 PREFIX
set -eu
# shellcheck source=tests/check_lib.sh
. "$(dirname "$0")/../check_lib.sh"
# shellcheck source=tools/virtual_display.sh
. "$(dirname "$0")/../../tools/virtual_display.sh"
KELVANE="$1" WINE="$2"
export WINEPREFIX="$3" WINEDEBUG=-all
WORK="$(mktemp -d)"
gauge=""
cleanup() {
    [ -z "$gauge" ] || kill "$gauge" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    stop_virtual_display
    rm -rf "$WORK"
}
trap cleanup EXIT
start_virtual_display "$WORK"
mkdir -p "$WINEPREFIX"
wineserver -k 2>/dev/null || true
wineserver -p </dev/null >/dev/null 2>&1
"$WINE" wineboot --init </dev/null >/dev/null 2>&1

KEY='HKCU\Software\Kelvane'
forget() { "$WINE" reg delete "$KEY" /f </dev/null >/dev/null 2>&1 || true; }
store() { "$WINE" reg add "$KEY\\$1" /v "$2" /t REG_SZ /d "$3" /f </dev/null >/dev/null 2>&1; }
# The value as the registry holds it, or nothing.
stored() {
    "$WINE" reg query "$KEY\\$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name {print $3}'
}
start() {
    "$KELVANE" </dev/null >/dev/null 2>&1 &
    gauge=$!
    wait_gauge_window
}
gone() { ! kill -0 "$gauge" 2>/dev/null; }
eventually() { for _ in $(seq 300); do "$@" 2>/dev/null && return 0; sleep 0.1; done; return 1; }
# "x y width height" of the gauge's window on the screen.
geometry() {
    xwininfo -id "$window" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
at() { [ "$(geometry)" = "$1" ]; }
high() { [ "$(geometry | cut -d' ' -f4)" -eq "$1" ]; }
# A click on the window at x, y of its own pixels.
click() {
    set -- "$1" "$2" "$(geometry)"
    # shellcheck disable=SC2086 # the geometry's four numbers
    set -- "$1" "$2" $3
    xdotool mousemove "$(($3 + $1))" "$(($4 + $2))" click 1
}
key() { xdotool key --window "$window" "$1"; }
close_gauge() { click 9 8 && eventually gone; }

forget
start
check "the first start shows the window wholly on the screen" \
    sh -c "geometry | awk '{exit !(\$1 >= 0 && \$2 >= 0 && \$1 + \$3 <= 1024 && \$2 + \$4 <= 768)}'"
check "136 pixels wide, without a frame" sh -c "geometry | awk '{exit !(\$3 == 136)}'"
close_gauge
for value in Left Top Section_1 Section_2 Section_3 Section_4 Section_5 Section_6 Section_7 \
    Section_8; do
    section=Forms
    case "$value" in Left | Top) section=StartUp ;; esac
    check "the close saves $value" sh -c "[ -n \"\$(stored $section $value)\" ]"
done
check "the close saves Panels" sh -c "[ -n \"\$(stored Forms Panels)\" ]"

# A stored place, one panel's reading and three panels.
forget
store StartUp Left 1500
store StartUp Top 3000
store Forms Panels 3
store Forms Section_1 0
start
check "it opens where it was left" eventually at "100 200 136 $(geometry | cut -d' ' -f4)"
three="$(geometry | cut -d' ' -f4)"
key F2
check "F2 leaves one panel" eventually sh -c "[ \"\$(geometry | cut -d' ' -f4)\" -lt $three ]"
key F10
check "F10 shows seven panels" eventually sh -c "[ \"\$(geometry | cut -d' ' -f4)\" -gt $three ]"
# Another program's window raised over it: the gauge's still lies above, in the X server's
# stacking order of the screen's top-level windows (bottom first).
xmessage -geometry +90+190 -name cover "a window over the gauge" &
cover=$!
eventually xdotool search --onlyvisible --name '^cover$' >/dev/null
xdotool search --onlyvisible --name '^cover$' windowraise
above() {
    xwininfo -root -tree | awk -v gauge="$(printf '0x%x' "$window")" -v cover="$1" '
        $1 == gauge { g = NR } index($0, cover) { c = NR } END { exit !(g > c && c > 0) }'
}
check "it stays above another window raised over it" eventually above '"cover"'
kill "$cover"
click 6 38
xdotool mousemove "$((100 + 60))" "$((200 + 10))" mousedown 1 mousemove "$((100 + 90))" "$((200 + 50))" \
    mousemove "$((100 + 110))" "$((200 + 70))" mouseup 1
check "a drag by the logo moves it" eventually sh -c "geometry | awk '{exit !(\$1 == 150 && \$2 == 260)}'"
click 113 11
check "the left pin puts it at the screen's left edge" \
    eventually sh -c "geometry | awk '{exit !(\$1 == 0)}'"
key F1
check "F1 opens the help window" eventually sh -c "xdotool search --onlyvisible --name '^Help\$' >/dev/null"
key F1
check "a second F1 opens no second one" \
    sh -c "[ \"\$(xdotool search --onlyvisible --name '^Help\$' | wc -l)\" -eq 1 ]"
help="$(xdotool search --onlyvisible --name '^Help$' | head -n 1)"
xdotool windowactivate --sync "$help" key Escape 2>/dev/null || xdotool key --window "$help" Escape
check "Escape closes it" eventually sh -c "! xdotool search --onlyvisible --name '^Help\$' >/dev/null"

"$KELVANE" </dev/null >/dev/null 2>&1 &
second=$!
check "a second start ends" eventually sh -c "! kill -0 $second"
check "and leaves one gauge" sh -c "[ \"\$(xdotool search --onlyvisible --name '^Dorvane\$' | wc -l)\" -eq 1 ]"
close_gauge
check "the title click is saved" [ "$(stored Forms Section_1)" = 1 ]
check "the pin's place is saved" [ "$(stored StartUp Left)" = 0 ]
check "the arrangement of F10 is saved" [ "$(stored Forms Panels)" != 3 ]
finish
