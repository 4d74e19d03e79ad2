#!/bin/sh
# The real gauge on a 1024 x 768 screen with no stored settings: where it opens, that it is
# frameless and on top, that a second start leaves one window, and that SIGTERM saves.

. "$(dirname "$0")/e2e_lib.sh"
start_display 1024x768x24
start_gauge
wait_window

check "opens centred at 136 x 248" wait_geometry "$window" "444 260 136 248"
check "stays on top" sh -c "xprop -id $window _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE"
check "has no frame" sh -c "xprop -id $window _MOTIF_WM_HINTS | grep -Eq '= 0x[0-9a-f]+, 0x[0-9a-f]+, 0x0,'"

first=$gauge
"$KELVANE" &
second=$!
check "a second start ends at once" sh -c "sleep 2; ! kill -0 $second 2>/dev/null"
check "one window remains" sh -c "[ \$(xdotool search --onlyvisible --name '^Dorvane\$' | wc -l) -eq 1 ]"
check "the first gauge still runs" kill -0 "$first"

kill -TERM "$first"
for _ in $(seq 50); do kill -0 "$first" 2>/dev/null || break; sleep 0.1; done
check "SIGTERM ends the gauge" sh -c "! kill -0 $first 2>/dev/null"
check "SIGTERM writes the settings" grep -q '^Panels=4$' "$SETTINGS"
check "the position is saved in twips" sh -c "grep -q '^Left=6660$' '$SETTINGS' && grep -q '^Top=3900$' '$SETTINGS'"

start_gauge
wait_window
kill -KILL "$gauge"
wait "$gauge" 2>/dev/null || true
start_gauge
check "a gauge killed with SIGKILL does not block the next start" wait_window
finish
