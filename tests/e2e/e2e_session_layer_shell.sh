# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# shellcheck shell=sh
# The gauge natively on sway, as a layer surface: sourced by e2e_session.sh once sway runs. What
# the user sees is read from grim's screenshots; the pointer is a virtual one, the keys wtype's.

# Besides e2e_lib.sh's steps (start_gauge sets $gauge), e2e_session.sh hands over its folder and
# the pointer tool it was given, which may be none.
: "${here:?}" "${pointer_tool?}"
[ -x "$pointer_tool" ] || { echo "FAILED - the virtual pointer tool was not given"; exit 1; }
# The headless seat has no pointer and no keyboard. Both live for the whole test: a device made
# for each step would reach the gauge after its first events.
start_pointer() {
    rm -f "$WORK/pointer" && mkfifo "$WORK/pointer"
    "$pointer_tool" "$1" "$2" <"$WORK/pointer" &
    pids="$pids $!"
    exec 3>"$WORK/pointer"
}
start_pointer 1024 768
wtype -s 1000000000 &
pids="$pids $!"
pointer() { echo "$*" >&3; }
click() { pointer move "$1" "$2" && pointer click; }

# The desktop's ground, before anything is drawn on it.
eventually grim "$WORK/ground.png"
ground="$(convert "$WORK/ground.png" -format '%[pixel:p{0,0}]' info:)"
# "x y width height" of all that is not the ground: the gauge, when it is alone on the screen.
box() {
    grim "$WORK/shot.png" &&
        convert "$WORK/shot.png" -bordercolor "$ground" -border 1 -trim -format '%X %Y %w %h' info: |
        awk '{print $1 - 1, $2 - 1, $3, $4}'
}
at() { [ "$(box)" = "$1" ]; }
# The title strip's pixels at x, y.
strip() { grim -g "$1,$2 136x18" - | md5sum; }
# A key typed again until it shows: the first may reach the gauge before its keyboard focus.
typed() { key="$1" && shift && wtype -k "$key" && "$@"; }
help_open() { xdotool search --onlyvisible --name '^Help$' >/dev/null; }
help_closed() { ! help_open; }

start_gauge
check "opens at its stored place and size, as a layer surface" eventually at "100 100 136 248"
check "is no X window" sh -c "! xdotool search --name '^Dorvane\$'"
title="$(strip 100 100)"
LC_ALL=C xmessage -geometry 300x300+50+50 -name other other &
other=$!
pids="$pids $other"
# Something is drawn at x, y.
covered() { grim -g "$1,$2 1x1" "$WORK/point.png" && [ "$(convert "$WORK/point.png" -format '%[pixel:p{0,0}]' info:)" != "$ground" ]; }
check "another program's window opens over it" eventually covered 300 400
check "stays above that window" test "$(strip 100 100)" = "$title"
kill "$other"
check "shows alone again when it closes" eventually at "100 100 136 248"
pointer move 170 140
pointer move 171 141
check "hovering a panel shows its tooltip beside the gauge" eventually covered 300 150

click 170 140
check "a click gives it the keyboard: F5 makes it 103 pixels high" eventually typed F5 at "100 100 136 103"
pointer move 146 110
pointer down
for step in 1 2 3 4 5 6 7 8 9 10; do pointer move $((146 + 10 * step)) $((110 + 5 * step)); done
pointer up
check "a drag by the logo moves it" eventually at "200 150 136 103"
click 330 158
check "> pins it to the right edge" eventually at "888 150 136 103"

swaymsg output HEADLESS-1 mode 800x600 >/dev/null
check "a smaller output brings it back on screen" eventually at "664 150 136 103"
exec 3>&-
start_pointer 800 600
click 777 160
check "< pins it to the left edge" eventually at "0 150 136 103"
click 121 155
check "^ pins it to the top edge" eventually at "0 0 136 103"
click 70 40
check "F1 opens the help window" eventually typed F1 help_open
check "which takes the keyboard: Escape closes it" eventually typed Escape help_closed
check "SIGTERM saves where it is" saved_at 0 0

# At output scale 2 it draws from the 2x artwork: the title strip's pictures are the reference
# picture's, pixel for pixel.
swaymsg output HEADLESS-1 scale 2 >/dev/null
start_gauge
reference="$here/../view/reference/2x/cycle-01.png"
dense() {
    grim -g "0,0 108x18" "$WORK/dense.png" && [ "$(convert "$WORK/dense.png" rgb:- | md5sum)" = \
        "$(convert "$reference" -crop 216x36+0+0 +repage rgb:- | md5sum)" ]
}
check "at output scale 2 it draws from the 2x artwork" eventually dense
kill -TERM "${gauge:?}" && wait "$gauge" || true
swaymsg output HEADLESS-1 scale 1 >/dev/null

# A second output to the right: the gauge opens on the one that holds its stored place.
swaymsg create_output >/dev/null
swaymsg output HEADLESS-1 position 0 0, output HEADLESS-2 mode 640x480 position 800 0 >/dev/null
printf '[StartUp]\nLeft=%s\nTop=%s\n' $((900 * 15)) $((50 * 15)) >"$SETTINGS"
start_gauge
check "opens on the output that holds its stored place" eventually at "900 50 136 248"
kill -TERM "$gauge" && wait "$gauge" || true
exit 0
