#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# A drive letter whose volume stops answering, under Wine: the letter keeps its last figure,
# and drive_watch.exe (the gauge's drives) ends at once while a helper of its waits on the
# volume for good. Nothing keeps the volume known to Wine's server, which would stop the whole
# session if it asked the volume itself: the helpers ask it on the Linux side. The volume is a FUSE mount that stops answering statfs, as a network share
# does when its server goes (stalling_volume.c). C: is probed on the way and must be left as
# it was. Mounting needs root and /dev/fuse: without them the test is skipped (status 77).
# Usage: stuck_volume.sh DRIVE_WATCH.EXE WINE SCRATCH-FOLDER   (with WINEPREFIX set)
set -u
watch=$1 wine=$2 scratch=$3
if [ "$(id -u)" != 0 ] || [ ! -c /dev/fuse ] || ! pkg-config --exists fuse3 2>/dev/null; then
    echo "skipped: a FUSE mount needs root, /dev/fuse and libfuse3-dev"
    exit 77
fi
fail() {
    echo "FAIL: $*"
    cat "$scratch/out" "$scratch/err" 2>/dev/null
    exit 1
}
# Up to a minute for what a slow machine reaches late: a bound, not a measure.
wait_for() {
    tries=0
    until eval "$1"; do
        tries=$((tries + 1)) && [ $tries -lt 6000 ] || return 1
        sleep 0.01
    done
}
# This test's own helpers (another gauge's may run beside it), by their command line.
helper='drive_watch\.exe --kelvane-drive-helper'
helpers_left() {
    for cmdline in /proc/[0-9]*/cmdline; do
        tr '\0' ' ' <"$cmdline" 2>/dev/null | grep -q "$helper" && return 0
    done
    return 1
}
# The command lines of the processes with a thread waiting for a FUSE answer.
held() {
    grep -l '^request_wait_answer$' /proc/[0-9]*/task/[0-9]*/wchan 2>/dev/null |
        while read -r wchan; do tr '\0' ' ' <"${wchan%/task/*}/cmdline" && echo; done
}

# What a run cut short left mounted.
umount -l "$scratch/mount" 2>/dev/null
rm -rf "$scratch" && mkdir -p "$scratch/mount" && scratch=$(cd "$scratch" && pwd) || exit 1
# shellcheck disable=SC2046 # the compiler's flags, one argument each
cc -o "$scratch/stalling_volume" "$(dirname "$0")/stalling_volume.c" \
    $(pkg-config --cflags --libs fuse3) || exit 1
"$scratch/stalling_volume" "$scratch/asked" "$scratch/mount" 2>/dev/null &
volume=$!
# Wine knows a letter linked after its session began in paths only, which is all a question
# about its space needs.
for letter in k l m n o p q r s t u v w x y; do
    [ -e "$WINEPREFIX/dosdevices/$letter:" ] || [ -L "$WINEPREFIX/dosdevices/$letter:" ] || break
done
cleanup() {
    kill -9 "$volume"
    # Its question answered at last (the volume has gone), the helper left behind ends.
    left=""
    wait_for '! helpers_left' || left=yes
    umount -l "$scratch/mount" 2>/dev/null
    rm -f "$WINEPREFIX/dosdevices/$letter:"
    [ -z "$left" ] || { echo "FAIL: a helper stayed after the volume went"; exit 1; }
}
trap cleanup EXIT
wait_for "grep -q ' $scratch/mount ' /proc/self/mountinfo" || fail "the volume was not mounted"
ln -s "$scratch/mount" "$WINEPREFIX/dosdevices/$letter:"
ls -A "$WINEPREFIX/drive_c" >"$scratch/c-before"

"$wine" "$watch" "Z:$(printf %s "$scratch/quit" | tr / '\\')" "$letter" \
    >"$scratch/out" 2>"$scratch/err" &
gauge=$!
upper=$(printf %s "$letter" | tr a-z A-Z)
wait_for "grep -q '^$upper: space' '$scratch/out'" || fail "$upper: never answered"
grep -q '^found [1-9]' "$scratch/out" || fail "C: did not pass the probe"
kill -USR1 "$volume"
wait_for "[ -e '$scratch/asked' ] && held | grep -q \"\$helper\"" ||
    fail "no helper waits on the volume: $(held)"

started=$(date +%s%N)
touch "$scratch/quit"
# Ended: a zombie until waited for, or gone when the shell has reaped it meanwhile.
wait_for "! ps -o stat= -p $gauge | grep -qv '^Z'" || fail "drive_watch did not end"
ended=$(date +%s%N)
wait "$gauge" || fail "drive_watch ended with status $?"
echo "drive_watch ended $(((ended - started) / 1000000)) ms after it was told to"
grep -q '^leaving' "$scratch/out" || fail "drive_watch did not leave"
tr -d '\r' <"$scratch/out" | grep "^$upper:" | tail -n 1 | grep -q "^$upper: space 1638400$" ||
    fail "$upper: lost its last figure"
held | grep -q "$helper" || fail "no question was stuck when drive_watch ended"
ls -A "$WINEPREFIX/drive_c" | cmp -s - "$scratch/c-before" || fail "a file appeared on C:"
echo "PASS"
