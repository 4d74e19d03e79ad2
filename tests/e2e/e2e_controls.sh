#!/bin/sh
# The real gauge driven with the keyboard and the mouse: a preset, a drag by the logo, a pin,
# and the help window.

. "$(dirname "$0")/e2e_lib.sh"
start_display 1024x768x24
start_gauge
wait_window
wait_geometry "$window" "444 260 136 248"

xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
xdotool key F5
check "F5 makes the window 103 pixels high" wait_geometry "$window" "444 260 136 103"

# Drag by the logo, 100 pixels right and 50 down, in small steps as a hand would.
xdotool mousemove 490 270 mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10; do
    xdotool mousemove $((490 + 10 * step)) $((270 + 5 * step))
    sleep 0.02
done
xdotool mouseup 1
check "a drag by the logo moves the window" wait_geometry "$window" "544 310 136 103"

# ">" sits at the right of the title strip.
xdotool mousemove $((544 + 130)) $((310 + 8)) click 1
check "> pins the window to the right edge" wait_geometry "$window" "888 310 136 103"

xdotool key F1
help=""
for _ in $(seq 50); do
    help="$(xdotool search --onlyvisible --name '^Help$' 2>/dev/null | head -n 1)" || true
    [ -n "$help" ] && break
    sleep 0.1
done
check "F1 opens the help window" test -n "$help"
xdotool windowactivate --sync "$help" 2>/dev/null || true
xdotool key Escape
closed() {
    for _ in $(seq 50); do
        [ -z "$(xdotool search --onlyvisible --name '^Help$' 2>/dev/null)" ] && return 0
        sleep 0.1
    done
    return 1
}
check "Escape closes the help window" closed
check "the gauge keeps running" kill -0 "$gauge"
finish
