#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# The real gauge under faults: ten starts at once, starts after a SIGKILL, a change that a
# SIGKILL follows, its window destroyed by another program, a FIFO for the settings file with a
# damaged lock, a settings write that fails at close, a session without a runtime directory;
# and its command line.
# Usage: e2e_reliability.sh KELVANE VERSION

. "$(dirname "$0")/e2e_lib.sh"
check "--version prints the version, needing no display" sh -c "[ \"\$('$KELVANE' --version)\" = 'kelvane $2' ]"
"$KELVANE" --help | sed -n 's/^  \(F[0-9]*\)  *\(.*\)$/| \1 | \2 |/p' >"$WORK/keys"
check "--help names every key, as the README's table does" \
    sh -c "[ \"\$(grep -cxFf '$WORK/keys' '$(dirname "$0")/../../README.md')\" = 12 ]"
start_virtual_display "$WORK"

# A process that has ended may linger as a zombie until the shell reaps it: it does not count.
alive() {
    state="$(cut -d ' ' -f 3 "/proc/$1/stat" 2>/dev/null)" || return 1
    [ -n "$state" ] && [ "$state" != Z ]
}
one_alive() {
    n=0
    for pid in "$@"; do alive "$pid" && n=$((n + 1)); done
    [ "$n" -eq 1 ]
}
# Waits until exactly one of the given processes runs; its pid is then in $survivor.
one_survives() {
    eventually one_alive "$@" || return 1
    for pid in "$@"; do alive "$pid" && survivor=$pid; done
    return 0
}
gone() { ! alive "$1"; }
ends() { eventually gone "$1"; }
windows() { [ "$(xdotool search --onlyvisible --name '^Dorvane$' | wc -l)" -eq "$1" ]; }
# The kernel ends a process some time after SIGKILL, freeing its lock, and the X server destroys
# its window only once it sees the connection close: the next start waits for both.
kill_gauge() { kill -KILL "$1" && ends "$1" && eventually windows 0; }
saved() { eventually grep -qx "$1" "$SETTINGS"; }
ten_starts() {
    starts=""
    for _ in 1 2 3 4 5 6 7 8 9 10; do
        "$KELVANE" &
        starts="$starts $!"
    done
    pids="$pids $starts"
}

ten_starts
wait_gauge_window
check "ten starts at once leave one gauge running" one_survives $starts
check "with one window" windows 1

kill_gauge "$survivor"
ten_starts
wait_gauge_window
check "after a SIGKILL, ten starts at once leave one gauge running" one_survives $starts
check "with one window" windows 1

# A change is saved within a second or so: a SIGKILL after it loses nothing.
xdotool key --window "$window" F5
check "a change is saved while the gauge runs" saved Panels=2
kill_gauge "$survivor"
check "so a SIGKILL loses nothing" saved Panels=2

# Another program destroys the window: the gauge saves and ends, and the next start runs.
start_gauge --unknown-option -platform nowhere
check "the gauge starts whatever its arguments" wait_gauge_window
xdotool key --window "$window" F4 windowclose "$window"
check "a window destroyed from outside ends the gauge" ends "$gauge"
check "which saves first" saved Panels=5

# The settings file deleted while the gauge runs, the window minimised: a later start brings
# it back, and the file holds every value again.
start_gauge
wait_gauge_window
rm "$SETTINGS"
xdotool windowminimize --sync "$window"
"$KELVANE"
check "a later start brings the minimised gauge back" \
    eventually sh -c "xprop -id $window WM_STATE | grep -q Normal"
xdotool key --window "$window" F2
kill -TERM "$gauge"
ends "$gauge"
check "a file deleted meanwhile holds every value again" sh -c "[ \$(grep -c = '$SETTINGS') = 11 ]"

# A FIFO in the settings file's place and a directory in the lock's: the gauge starts with
# its defaults, still keeps a second start out, and never opens or replaces the FIFO.
rm -f "$SETTINGS" "$XDG_RUNTIME_DIR/kelvane.lock"
mkdir -p "$(dirname "$SETTINGS")" "$XDG_RUNTIME_DIR/kelvane.lock"
mkfifo "$SETTINGS"
start_gauge
check "a FIFO for settings and a damaged lock do not keep the gauge from starting" wait_gauge_window
"$KELVANE" &
second=$!
pids="$pids $second"
check "where it still keeps a second start out" ends "$second"
kill -TERM "$gauge"
check "and ends on SIGTERM" ends "$gauge"
check "leaving the FIFO as it was" test -p "$SETTINGS"
rm "$SETTINGS"

# The disk is full at close: writes fail as they would with ENOSPC, even for root.
printf '[Forms]\nPanels=5\n' >"$SETTINGS"
cp "$SETTINGS" "$WORK/before"
(trap '' XFSZ && exec "$KELVANE") &
gauge=$!
pids="$pids $gauge"
wait_gauge_window
prlimit --pid "$gauge" --fsize=0
kill -TERM "$gauge"
check "a settings write that fails does not hold up the end" ends "$gauge"
check "the old settings file stays as it was" cmp -s "$SETTINGS" "$WORK/before"
check "no temporary file is left beside it" \
    sh -c "[ \"\$(ls -A '$(dirname "$SETTINGS")')\" = Kelvane.conf ]"

# No runtime directory in the session.
mkdir "$WORK/tmp"
lock_dir="$WORK/tmp/kelvane-$(id -u)"
env -u XDG_RUNTIME_DIR TMPDIR="$WORK/tmp" "$KELVANE" 2>"$WORK/stderr" &
gauge=$!
pids="$pids $gauge"
wait_gauge_window
check "without a runtime directory the lock goes to a private temporary folder" \
    sh -c "[ \"\$(stat -c %a:%u '$lock_dir')\" = 700:$(id -u) ]"
env -u XDG_RUNTIME_DIR TMPDIR="$WORK/tmp" "$KELVANE" 2>>"$WORK/stderr" &
second=$!
pids="$pids $second"
check "where it still keeps a second start out" ends "$second"
check "the first gauge still runs" alive "$gauge"
kill -TERM "$gauge"
ends "$gauge"
cat "$WORK/stderr"
check "and nothing is printed" test ! -s "$WORK/stderr"

# The display dies just after a change: the change is saved on the way out.
start_gauge
wait_gauge_window
xdotool key --window "$window" F3
eventually sh -c "xwininfo -id $window | grep -q 'Height: 45'"
kill "$xserver"
check "a display that dies ends the gauge" ends "$gauge"
check "which saves the change made just before" saved Panels=1
check "no display at all: one line and status 1" \
    sh -c "! env -u DISPLAY -u WAYLAND_DISPLAY '$KELVANE' 2>'$WORK/stderr' && [ \$(wc -l <'$WORK/stderr') = 1 ]"
