#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# The real gauge under faults: ten starts at once, starts after a SIGKILL, a change that a
# SIGKILL follows, its window destroyed by another program, its settings file deleted while it
# runs, a later start told of no runtime folder, stderr a pipe no one reads, its display dying;
# raised privileges; and its command line. (Odd settings files and lock folders are the
# store's and the lock's own tests.)
# Usage: e2e_reliability.sh KELVANE VERSION

# shellcheck source=tests/e2e/e2e_lib.sh
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
stop_gauge() { kill -TERM "$gauge" && ends "$gauge"; }
shown() { eventually sh -c "xprop -id $window WM_STATE | grep -q Normal"; }
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

for after in "" "after a SIGKILL, "; do
    [ -z "$after" ] || kill_gauge "$survivor"
    ten_starts
    wait_gauge_window
    # shellcheck disable=SC2086 # one argument for each of the ten pids
    check "${after}ten starts at once leave one gauge running" one_survives $starts
    check "with one window" windows 1
done

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
# it back, and the file holds every value again; all the while nothing is printed.
start_gauge 2>"$WORK/stderr"
wait_gauge_window
rm "$SETTINGS"
xdotool windowminimize --sync "$window"
"$KELVANE" 2>>"$WORK/stderr"
check "a later start brings the minimised gauge back" shown
xdotool key --window "$window" F2
stop_gauge
check "a file deleted meanwhile holds every value again" sh -c "[ \$(grep -c = '$SETTINGS') = 11 ]"
cat "$WORK/stderr"
check "and nothing is printed" test ! -s "$WORK/stderr"

# A terminal from su or ssh -X has no runtime folder, or another: a start there finds the
# running gauge all the same, brings it back and ends.
start_gauge
wait_gauge_window
xdotool windowminimize --sync "$window"
mkdir -p "$WORK/tmp"
env -u XDG_RUNTIME_DIR TMPDIR="$WORK/tmp" "$KELVANE" &
other=$!
pids="$pids $other"
check "a later start without the session's runtime folder ends" ends "$other"
check "and brings the running gauge back" shown
check "with one window" windows 1

# A start in a network namespace of its own (a sandbox without network) has abstract socket
# names of its own: it finds the gauge beside the lock all the same.
for isolate in "unshare -n" "unshare -rn" ""; do
    [ -n "$isolate" ] && $isolate true 2>/dev/null && break
done
if [ -n "$isolate" ]; then
    xdotool windowminimize --sync "$window"
    $isolate "$KELVANE" &
    other=$!
    pids="$pids $other"
    check "a later start without the network ends" ends "$other"
    check "and brings the running gauge back" shown
else
    echo "skipped - a start in a network namespace of its own: unshare is not allowed here"
fi
stop_gauge

# A lock held by something that does not answer: the start says so and fails, not silently.
sh -c "exec 9>>'$XDG_RUNTIME_DIR/kelvane.lock' && flock 9 && exec sleep 600" &
holder=$!
pids="$pids $holder"
eventually sh -c "! flock -n '$XDG_RUNTIME_DIR/kelvane.lock' true"
check "a start that finds the lock held and no answer: one line and status 1" \
    sh -c "! '$KELVANE' 2>'$WORK/stderr' && [ \$(wc -l <'$WORK/stderr') = 1 ]"
kill "$holder"
ends "$holder"

# stderr a pipe whose reader has gone (a launcher that stopped reading), and a damaged settings
# file to say so: the message is lost, not the gauge.
head -c 80000 /dev/zero >"$SETTINGS"
python3 -c 'import os, signal, sys
signal.signal(signal.SIGPIPE, signal.SIG_DFL)  # as a shell leaves it
r, w = os.pipe()
os.close(r)
os.dup2(w, 2)
os.execv(sys.argv[1], sys.argv[1:])' "$KELVANE" &
gauge=$!
pids="$pids $gauge"
check "a message to a pipe no one reads does not end the gauge" wait_gauge_window
check "which runs on" alive "$gauge"
stop_gauge

# Installed setgid (or setuid) by mistake: it says so and ends before it touches any file.
copy="$(dirname "$KELVANE")/kelvane-raised"
rm -f "$copy"
cp "$KELVANE" "$copy"
if [ "$(id -u)" -eq 0 ]; then group=nogroup; else group="$(id -Gn | cut -s -d ' ' -f 2)"; fi
mkdir -p "$WORK/raised/tmp"
if [ -n "$group" ] && chgrp "$group" "$copy" && chmod g+s "$copy" && [ -g "$copy" ]; then
    env XDG_CONFIG_HOME="$WORK/raised/config" XDG_RUNTIME_DIR="$WORK/raised/run" \
        TMPDIR="$WORK/raised/tmp" "$copy" 2>"$WORK/stderr" &
    raised=$!
    pids="$pids $raised"
    check "raised privileges: the gauge ends" ends "$raised"
    wait "$raised" && status=0 || status=$?
    check "with status 1 and one line" sh -c "[ $status = 1 ] && [ \$(wc -l <'$WORK/stderr') = 1 ]"
    check "and no file made" \
        sh -c "[ -z \"\$(ls -A '$WORK/raised/tmp')\" ] && [ ! -e '$WORK/raised/config' ]"
else
    echo "skipped - raised privileges: no group to make the gauge setgid to"
fi
rm -f "$copy"

# The display dies just after a change: the change is saved on the way out.
start_gauge
wait_gauge_window
xdotool key --window "$window" F3
eventually sh -c "xwininfo -id $window | grep -q 'Height: 45'"
kill "$xserver"
check "a display that dies ends the gauge" ends "$gauge"
check "which saves the change made just before" saved Panels=1
for platform in "" "linuxfb:fb=$WORK/no-framebuffer"; do
    check "no display${platform:+ (QT_QPA_PLATFORM=$platform)}: one line and status 1" \
        sh -c "! env -u DISPLAY -u WAYLAND_DISPLAY ${platform:+QT_QPA_PLATFORM=$platform} \
            '$KELVANE' 2>'$WORK/stderr' && [ \$(wc -l <'$WORK/stderr') = 1 ]"
done
