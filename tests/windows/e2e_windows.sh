#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# kelvane.exe under Wine, on a private X display with openbox, driven as a user drives it and
# read back from the X server and the registry: the first start and a stored place, kept above
# other windows, the function keys, a title click, the drag, a pin, the close that saves every
# value, a second start, the help window; and as a screen reader reads and works it, through
# Active Accessibility from another process (MSAA_CLIENT, tests/windows/msaa_client.cpp). Its own Wine prefix, whose server is started with the
# display (a server started without one gives windows none).
# Usage: e2e_windows.sh KELVANE_EXE MSAA_CLIENT_EXE WINE64 PREFIX
set -eu
# shellcheck source=tests/check_lib.sh
. "$(dirname "$0")/../check_lib.sh"
# shellcheck source=tools/virtual_display.sh
. "$(dirname "$0")/../../tools/virtual_display.sh"
KELVANE="$1" READER="$2" WINE="$3"
export WINEPREFIX="$4" WINEDEBUG=-all
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
    "$WINE" "$KELVANE" </dev/null >/dev/null 2>&1 &
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
on_screen() { geometry | awk '{exit !($1 >= 0 && $2 >= 0 && $1 + $3 <= 1024 && $2 + $4 <= 768)}'; }
check "the first start shows the window wholly on the screen" on_screen
wide() { [ "$(geometry | cut -d' ' -f3)" -eq "$1" ]; }
check "136 pixels wide, without a frame" wide 136
check "the close button ends it" close_gauge
holds() { [ -n "$(stored "$1" "$2")" ]; }
for value in StartUp/Left StartUp/Top Forms/Section_1 Forms/Section_2 Forms/Section_3 \
    Forms/Section_4 Forms/Section_5 Forms/Section_6 Forms/Section_7 Forms/Section_8 Forms/Panels; do
    check "the close saves $value" holds "${value%/*}" "${value#*/}"
done

# A stored place, one panel's reading and three panels.
forget
store StartUp Left 1500
store StartUp Top 3000
store Forms Panels 3
store Forms Section_1 0
start
corner() { [ "$(geometry | cut -d' ' -f1,2)" = "$1 $2" ]; }
check "it opens where it was left" eventually corner 100 200
height() { geometry | cut -d' ' -f4; }
three="$(height)"
lower() { [ "$(height)" -lt "$1" ]; }
higher() { [ "$(height)" -gt "$1" ]; }
key F2
check "F2 leaves one panel" eventually lower "$three"
key F10
check "F10 shows seven panels" eventually higher "$three"
# Another program's window raised over it: the gauge's still lies above, in the X server's
# stacking order (which xwininfo lists from the top).
xmessage -geometry +90+190 -name cover "a window over the gauge" &
cover=$!
eventually xdotool search --onlyvisible --name '^cover$' >/dev/null
xdotool search --onlyvisible --name '^cover$' windowraise
above() {
    xwininfo -root -tree | awk -v gauge="$(printf '0x%x' "$window")" -v cover="$1" '
        $1 == gauge { g = NR } index($0, cover) { c = NR } END { exit !(g > 0 && c > g) }'
}
check "it stays above another window raised over it" eventually above '"cover"'
kill "$cover"
wait "$cover" 2>/dev/null || true
click 6 38
xdotool mousemove "$((100 + 60))" "$((200 + 10))" mousedown 1 mousemove "$((100 + 90))" "$((200 + 50))" \
    mousemove "$((100 + 110))" "$((200 + 70))" mouseup 1
check "a drag by the logo moves it" eventually corner 150 260
click 113 11
left_edge() { [ "$(geometry | cut -d' ' -f1)" -eq 0 ]; }
check "the left pin puts it at the screen's left edge" eventually left_edge
shown() { [ "$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l)" -eq "$2" ]; }
key F1
check "F1 opens the help window" eventually shown Help 1
key F1
check "a second F1 opens no second one" shown Help 1
help="$(xdotool search --onlyvisible --name '^Help$' | head -n 1)"
xdotool windowactivate --sync "$help" key Escape 2>/dev/null || xdotool key --window "$help" Escape
check "Escape closes it" eventually shown Help 0

"$WINE" "$KELVANE" </dev/null >/dev/null 2>&1 &
second=$!
ended() { ! kill -0 "$1" 2>/dev/null; }
check "a second start ends" eventually ended "$second"
check "and leaves one gauge" shown Dorvane 1
close_gauge
check "the title click is saved" [ "$(stored Forms Section_1)" = 1 ]
check "the pin's place is saved" [ "$(stored StartUp Left)" = 0 ]
seven="$(stored Forms Panels)"
check "the arrangement of F10 is saved" [ "$seven" != 3 ]

# Closed by another program (WM_CLOSE), and by the session's end: each saves what it shows.
start
check "it comes back as it was left" eventually higher "$three"
key F2
"$WINE" taskkill /im kelvane.exe </dev/null >/dev/null 2>&1
check "WM_CLOSE from another program ends it" eventually gone
one="$(stored Forms Panels)"
check "and saves the arrangement it showed" [ "$one" != "$seven" ]
start
key F10
"$WINE" wineboot --end-session </dev/null >/dev/null 2>&1
check "the session's end ends it" eventually gone
check "and saves the arrangement it showed" [ "$(stored Forms Panels)" = "$seven" ]

# A screen reader's view: the window, its six buttons and its panels with their figures, each
# where it is drawn; Tab's place; a button's default action; what a key changed, told.
forget
start
reader() { "$WINE" "$READER" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
tree="$(reader tree)"
rows() { printf '%s\n' "$tree" | awk -F'|' -v role="$1" '$2 == role'; }
check "the window is read by the program's name" [ "$(rows client | cut -d'|' -f3)" = Kelvane ]
check "with what its keys do" [ -n "$(printf '%s\n' "$tree" | grep '^description|.*F1')" ]
names="$(rows 'push button' | cut -d'|' -f3 | paste -sd,)"
check "its buttons are read in their order" [ "$names" = "Close,Size,Help,Pin left,Pin top,Pin right" ]
figures() { rows 'progress bar' | awk -F'|' '$3 == "" || $4 !~ /^[0-9]+(%| KB| MB)$/ {bad=1}
    END {exit bad || NR == 0}'; }
check "each panel is read by its name with its figure" figures
check "each part is found where it is drawn" [ -z "$(printf '%s\n' "$tree" | grep '|misses$')" ]
key Tab
key Tab
focused() { reader tree | awk -F'|' -v part="$1" '$6 == "focused" {found = $3} END {exit found != part}'; }
check "Tab's place is read as the focus" eventually focused Size
panels() { [ "$(reader tree | awk -F'|' '$2 == "progress bar"' | wc -l)" -eq "$1" ]; }
key F5
check "F5's three panels are read" eventually panels 3
was="$(height)"
reader press Size
check "a press of Size through its action steps the height" eventually higher "$was"
check "once, to six panels" panels 6
"$WINE" "$READER" listen 30000 </dev/null >"$WORK/told" 2>/dev/null &
listener=$!
eventually grep -q listening "$WORK/told"
key F2
check "what F2 changed is told" eventually grep -q '^alert|1 panel: ' "$WORK/told"
key Tab
check "and where Tab moves the keyboard" eventually grep -q '^focus|' "$WORK/told"
kill "$listener" 2>/dev/null || true
reader press Close
check "a press of Close through its action ends it" eventually gone

# What a tick changes is drawn as a whole repaint draws it: eight panels of the total memory,
# which does not change, read from the screen once their figures are known, then after the
# window was minimised and restored, which repaints it whole.
forget
for p in 1 2 3 4 5 6 7 8; do store Forms "Section_$p" 6; done
store Forms Panels 4
start
xdotool mousemove 1000 700
picture() { import -window "$window" rgb:- 2>/dev/null | md5sum; }
known() { reader tree | awk -F'|' '$2 == "progress bar" && $4 ~ / MB$/ {n++} END {exit n != 8}'; }
steady() { ticked="$(picture)" && known && [ "$(picture)" = "$ticked" ]; }
check "eight panels of the total memory show their figures" eventually steady
xdotool windowminimize --sync "$window"
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowmap --sync "$window"
repainted() { [ "$(picture)" = "$ticked" ]; }
check "what the ticks drew is what a whole repaint draws" eventually repainted
close_gauge

# Started twice at once, as at sign-in, from a folder whose name is not ASCII: one gauge, whose
# drive helpers (the same executable, started anew) answer.
forget
folder="$WINEPREFIX/drive_c/Zählwerk Ω"
mkdir -p "$folder"
cp "$KELVANE" "$folder/kelvane.exe"
"$WINE" "$folder/kelvane.exe" </dev/null >/dev/null 2>&1 &
gauge=$!
"$WINE" "$folder/kelvane.exe" </dev/null >/dev/null 2>&1 &
twin=$!
wait_gauge_window
one_ended() { ended "$twin" || { ended "$gauge" && gauge="$twin"; }; }
check "two starts at once leave one gauge" eventually one_ended
check "and one window" shown Dorvane 1
key F12
drive() { reader tree | awk -F'|' '$2 == "progress bar" && $3 ~ /^Used drive C:/ && $4 ~ /%$/ {found = 1}
    END {exit !found}'; }
check "its drives are measured from a folder named outside ASCII" eventually drive
reader press Close
check "it ends" eventually gone
finish
