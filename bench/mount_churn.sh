#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# What mount churn costs the gauge, as on a host running many containers: in a private mount
# namespace with MOUNTS tmpfs mounts, the real gauge runs (as nobody, on a virtual X display)
# for SECONDS with no mount changing, then for SECONDS while a tmpfs is mounted and unmounted
# CHANGES times a second. Prints the gauge's processor time in each phase.
# Usage, as root: bench/mount_churn.sh [GAUGE] [MOUNTS] [CHANGES] [SECONDS]
#   defaults: build/test/kelvane 1000 16 20
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
gauge_bin="$(realpath "${1:-$root/build/test/kelvane}")"
mounts="${2:-1000}" changes="${3:-16}" seconds="${4:-20}"
[ "$(id -u)" = 0 ] || { echo "run as root: it mounts, in a namespace of its own" >&2; exit 1; }
if [ -z "${KELVANE_CHURN_NS:-}" ]; then
    # Mounts made in a private namespace never reach the machine, and go with it.
    KELVANE_CHURN_NS=1 exec unshare -m --propagation private "$0" "$gauge_bin" "$mounts" \
        "$changes" "$seconds"
fi
# shellcheck source=tools/virtual_display.sh
. "$root/tools/virtual_display.sh"

work="$(mktemp -d /tmp/kelvane-churn.XXXXXX)"
chmod 755 "$work"
mount -t tmpfs churn "$work"
mkdir -p "$work/m" "$work/churn" "$work/home/runtime" "$work/x"
cp "$gauge_bin" "$work/kelvane"
chown -R nobody:nogroup "$work/home"
chmod 700 "$work/home/runtime"
gauge="" churner=""
cleanup() {
    kill $gauge $churner 2>/dev/null || true
    wait $gauge $churner 2>/dev/null || true
    stop_virtual_display
    umount "$work/churn" 2>/dev/null || true
    umount -R "$work" 2>/dev/null || true
    rmdir "$work"
}
trap cleanup EXIT

for i in $(seq "$mounts"); do
    mkdir "$work/m/$i"
    mount -t tmpfs -o size=4k "m$i" "$work/m/$i"
done
table_bytes=$(wc -c </proc/self/mounts)
start_virtual_display "$work/x"
HOME="$work/home" XDG_CONFIG_HOME="$work/home" XDG_RUNTIME_DIR="$work/home/runtime" \
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$work/kelvane" &
gauge=$!
sleep 3

# The gauge's utime + stime in clock ticks (of every thread it has had), and the bytes it has
# read, where the mount table's re-reads show.
sample() {
    awk '{printf "%d ", $14 + $15}' /proc/$gauge/stat
    awk '/^rchar/ {print $2}' /proc/$gauge/io
}
measure() {
    local a b
    read -ra a <<<"$(sample)"
    sleep "$seconds"
    read -ra b <<<"$(sample)"
    kill -0 $gauge
    read_rate=$(((b[1] - a[1]) / seconds))
    awk -v ticks=$((b[0] - a[0])) -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v what="$1" \
        -v rate="$read_rate" 'BEGIN {
            printf "%-24s CPU %6.2f %% of a core, reads %5.0f kB/s\n", what,
                100 * ticks / hz / s, rate / 1000 }'
}

echo "$(nproc) cores, $(uname -r), mount table of $(wc -l </proc/self/mounts) lines" \
    "($table_bytes bytes), ${seconds} s per phase"
measure "no changes"
quiet_rate=$read_rate
(
    # Paced by the clock, so that the time mount and umount take does not slow the rate.
    step=$((1000000 / changes)) next=${EPOCHREALTIME/./} n=0
    : >"$work/changes"
    while :; do
        if ((n % 2 == 0)); then
            mount -t tmpfs -o size=4k churn "$work/churn"
        else
            umount "$work/churn"
        fi
        n=$((n + 1))
        echo >>"$work/changes"
        next=$((next + step))
        wait_us=$((next - ${EPOCHREALTIME/./}))
        if ((wait_us > 0)); then sleep "$(printf '0.%06d' "$wait_us")"; fi
    done
) &
churner=$!
sleep 1
before=$(wc -l <"$work/changes")
measure "$changes changes/s asked"
after=$(wc -l <"$work/changes")
# The reads beyond those of the quiet phase (the memory status) are the table's.
awk -v n=$((after - before)) -v s="$seconds" -v extra=$((read_rate - quiet_rate)) \
    -v table="$table_bytes" 'BEGIN {
        printf "changes made %.1f/s; the table read again about %.1f times/s\n", n / s,
            extra / table }'
