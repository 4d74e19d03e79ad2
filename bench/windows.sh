#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# What kelvane.exe costs at its 100 Hz tick under Wine, next to a floor program that makes the
# system queries of a tick under the same timer and draws nothing (bench/windows/floor.c).
#
#   bench/windows.sh        (as root: the measured programs then run as $BENCH_USER)
#
# Its own Xvfb (1024x768x24) + openbox and its own Wine prefix, whose server is started with
# the display and kept up for the whole run. Cases, each alone, REPS rounds over all of them:
#   floor           floor.exe: GlobalMemoryStatusEx and GetDiskFreeSpaceExW on C:\
#   floor-8-flip    floor.exe on D: to K:, eight letters on volumes whose used share moves on
#                   every question (flipping_volume.c, FUSE)
#   TAG:default     the gauge with no settings: seven memory panels and C:
#   TAG:flip        the gauge with eight drive panels, D: to K:, on those volumes: every caption
#                   changes whenever the gauge's helper has asked again
#   floor-1-flip    floor.exe on D: alone
#   TAG:flip-1      the gauge with eight panels that all show D:: every caption changes, from
#                   the queries of floor-1-flip (Wine answers GlobalMemoryStatusEx from a cache
#                   of a second, so only drive figures can change on every tick there)
# Per case, over DURATION seconds after WARMUP: CPU of the gauge (or floor) process, its drive
# helpers, the wineserver, Xvfb and the prefix's other Wine processes (run time of all threads,
# schedstat), wake-ups per second, and how often each volume answered.
#
# Environment:
#   DURATION=30 WARMUP=5 REPS=3   seconds measured, seconds skipped, rounds (medians shown)
#   CASES=<regex>                 only the cases whose names match
#   BASELINE_REV=<git rev>        also measure kelvane.exe built from that revision, same run
#   ALSO="tag:exe ..."            also measure these kelvane.exe builds (no blanks in paths)
#   BENCH_USER=tester             who runs Wine and the display when started as root
#   X_RESOURCES='Xft.dpi: 96'     the display's resource database, as a desktop session sets
#                                 it; empty for a bare display (see below)
#   WORK=/tmp/kelvane-winbench    build and scratch directory
#   OUT=$WORK/results.md          where the tables are written (also printed)
# With no resource database on the display (no RESOURCE_MANAGER, no ~/.Xdefaults), libX11's
# XGetDefault reads ~/.Xdefaults and ~/.Xdefaults-HOST again on every call, and Wine's X11
# driver calls it whenever a font is selected into a DC: desktops set the property (xrdb,
# xsettings daemons), so the run sets one line of it unless X_RESOURCES is empty.
# The volumes need FUSE: as root they are mounted for the other user too (allow_other); as
# another user through fusermount3. Where they cannot be mounted, the flip cases are skipped.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
DURATION="${DURATION:-30}"
WARMUP="${WARMUP:-5}"
REPS="${REPS:-3}"
WORK="${WORK:-/tmp/kelvane-winbench}"
OUT="${OUT:-$WORK/results.md}"
BENCH_USER="${BENCH_USER:-tester}"
X_RESOURCES="${X_RESOURCES-Xft.dpi: 96}"
WINE=/usr/lib/wine/wine64
letters="d e f g h i j k"

say() { printf '%s\n' "$*" | tee -a "$OUT"; }

# ---------------------------------------------------------------- as the one who started it

build() {
    # shellcheck source=tools/deps.sh
    . "$root/tools/deps.sh"
    ensure_packages windows
    local need
    for need in cmake ninja cc pkg-config; do
        command -v "$need" >/dev/null || { echo "missing: $need" >&2; exit 1; }
    done
    cmake --preset windows -S "$root" -B "$WORK/build" -DKELVANE_BENCH=ON -DKELVANE_TESTS=OFF \
        >/dev/null
    cmake --build "$WORK/build" >/dev/null
    builds="now:$WORK/build/kelvane.exe"
    if [ -n "${BASELINE_REV:-}" ]; then
        # Built anew: git archive dates every file at its commit, so the objects of a later
        # revision built here before would look newer than an older revision's sources.
        rm -rf "$WORK/baseline-src" "$WORK/baseline"
        mkdir -p "$WORK/baseline-src"
        git -C "$root" archive "$BASELINE_REV" | tar -x -C "$WORK/baseline-src"
        (cd "$WORK/baseline-src" && cmake --preset windows -B "$WORK/baseline" \
            -DKELVANE_TESTS=OFF >/dev/null && cmake --build "$WORK/baseline" >/dev/null)
        builds="before:$WORK/baseline/kelvane.exe $builds"
    fi
    builds="$builds${ALSO:+ $ALSO}"
    mkdir -p "$WORK/tools"
    # shellcheck disable=SC2046 # the compiler's flags, one argument each
    cc -O2 -Wall -Wextra -Wpedantic -Werror -o "$WORK/tools/flipping_volume" \
        "$here/windows/flipping_volume.c" $(pkg-config --cflags --libs fuse3)
}

volume_pids=""
mount_volumes() {
    local l options=()
    [ "$(id -u)" -eq 0 ] && options=(-o allow_other)
    for l in $letters; do
        mkdir -p "$WORK/volumes/$l"
        "$WORK/tools/flipping_volume" "$WORK/volumes/$l" "${options[@]}" 2>/dev/null &
        volume_pids="$volume_pids $!"
    done
    for l in $letters; do
        for _ in $(seq 100); do [ -e "$WORK/volumes/$l/answers" ] && break; sleep 0.05; done
        [ -e "$WORK/volumes/$l/answers" ] || { echo "FUSE: $l: not mounted, no flip cases"; return 1; }
    done
}

# Every volume of this run unmounted, whatever state it is in, and its program ended.
unmount_volumes() {
    local l
    for l in $letters; do
        mountpoint -q "$WORK/volumes/$l" 2>/dev/null || continue
        fusermount3 -u "$WORK/volumes/$l" 2>/dev/null || umount -l "$WORK/volumes/$l" 2>/dev/null ||
            echo "could not unmount $WORK/volumes/$l" >&2
    done
    # shellcheck disable=SC2086 # one argument per process
    [ -z "$volume_pids" ] || kill $volume_pids 2>/dev/null || true
    # shellcheck disable=SC2086 # as above
    [ -z "$volume_pids" ] || wait $volume_pids 2>/dev/null || true
    volume_pids=""
}

# What the measuring side may have left when it was stopped from outside: it writes down its
# own process, the display's and the window manager's, and the Wine session is its prefix's.
measurer=""
end_measuring() {
    local pids="" p
    [ -n "$measurer" ] && kill "$measurer" 2>/dev/null && wait "$measurer" 2>/dev/null
    measurer=""
    [ -s "$WORK/run/pids" ] && pids="$(cat "$WORK/run/pids")"
    for p in $pids; do
        kill -0 "$p" 2>/dev/null || continue
        kill "$p" 2>/dev/null || true
    done
    [ -d "$WORK/run/prefix" ] || return 0
    if [ "$(id -u)" -eq 0 ] && [ -n "$BENCH_USER" ]; then
        setpriv --reuid="$BENCH_USER" --regid="$BENCH_USER" --init-groups \
            env WINEPREFIX="$WORK/run/prefix" wineserver -k 2>/dev/null || true
    else
        WINEPREFIX="$WORK/run/prefix" wineserver -k 2>/dev/null || true
    fi
}

clean_up() {
    trap - EXIT INT TERM HUP
    set +e  # a step that fails must not leave the others undone
    end_measuring
    unmount_volumes
}

prepare_and_run() {
    mkdir -p "$WORK/run"
    : >"$OUT"
    : >"$WORK/run/pids"
    build
    local volumes=no
    trap clean_up EXIT
    trap 'exit 129' HUP
    trap 'exit 130' INT
    trap 'exit 143' TERM
    mount_volumes && volumes=yes
    local settings=(WORK="$WORK" OUT="$OUT" DURATION="$DURATION" WARMUP="$WARMUP" REPS="$REPS"
        CASES="${CASES:-}" X_RESOURCES="$X_RESOURCES" MEASURED_BUILDS="$builds"
        FLIP_VOLUMES="$volumes" REVISION="$(revision)")
    # In the background and waited for, so that a signal reaches this shell's traps at once.
    if [ "$(id -u)" -eq 0 ] && [ -n "$BENCH_USER" ]; then
        chown -R "$BENCH_USER:" "$WORK/run" "$OUT"
        setpriv --reuid="$BENCH_USER" --regid="$BENCH_USER" --init-groups env "${settings[@]}" \
            HOME="$WORK/run/home" USER="$BENCH_USER" LOGNAME="$BENCH_USER" bash "$0" --measure &
    else
        env "${settings[@]}" bash "$0" --measure &
    fi
    measurer=$!
    local status=0
    wait "$measurer" || status=$?
    measurer=""
    clean_up
    if mount | grep -qF " $WORK/volumes/"; then
        echo "mounts left behind under $WORK/volumes" >&2
        status=1
    fi
    return "$status"
}

revision() {
    printf '%s%s' "$(git -C "$root" rev-parse --short HEAD)" \
        "$(git -C "$root" diff --quiet HEAD -- src bench || echo ' + uncommitted changes')"
}

# ---------------------------------------------------------------- as BENCH_USER

# The processes of this run's Wine session: each has the prefix in its environment.
session() {
    local p
    for p in /proc/[0-9]*; do
        tr '\0' '\n' 2>/dev/null <"$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            echo "${p#/proc/}"
    done
    return 0
}
command_of() { tr '\0' ' ' 2>/dev/null <"/proc/$1/cmdline"; }
is_server() { grep -q '^wineserver' "/proc/$1/comm" 2>/dev/null; }
is_helper() { command_of "$1" | grep -q -- '--kelvane-drive-helper'; }

# "THREAD NS" for each thread of the processes, and the run time used between two such lists
# by the threads alive at both ends: a thread that ends meanwhile takes its run time with it
# from the process's sum, which would make that sum fall.
cpu_each() {
    local p t
    for p in "$@"; do
        for t in /proc/"$p"/task/*; do echo "${t##*/} $(cut -d' ' -f1 "$t/schedstat" 2>/dev/null)"; done
    done
}
cpu_between() {
    printf '%s\n%s\n' "$1" "$2" | awk 'NF == 2 {
            if ($1 in start) s += $2 - start[$1]; else start[$1] = $2
        } END {printf "%.0f\n", s}'
}
wakeups() {
    local p
    for p in "$@"; do cat /proc/"$p"/task/*/status 2>/dev/null; done |
        awk '/^voluntary_ctxt_switches/ {s += $2} END {print s + 0}'
}
answers() {
    local l
    [ "$FLIP_VOLUMES" = yes ] || { echo 0; return; }
    for l in $letters; do cat "$WORK/volumes/$l/answers" 2>/dev/null || echo 0; done |
        awk '{s += $1} END {printf "%.0f\n", s}'
}
now() { date +%s.%N; }
# A sleep that a signal cuts short: the traps run at once, not when it is over.
sleeper=""
pause() {
    sleep "$1" &
    sleeper=$!
    wait "$sleeper" || true
    sleeper=""
}

start_session() {
    # shellcheck source=tools/virtual_display.sh
    . "$root/tools/virtual_display.sh"
    run="$WORK/run"
    mkdir -p "$run/home"
    start_virtual_display "$run" || exit 1
    if [ -n "$X_RESOURCES" ]; then
        xprop -root -f RESOURCE_MANAGER 8s -set RESOURCE_MANAGER "$X_RESOURCES"
    fi
    echo "$$ $xserver $wm" >"$run/pids"
    export WINEPREFIX="$run/prefix" WINEDEBUG=-all
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # Started with DISPLAY set: a server started without one gives windows none.
    "$WINE" wineboot --init </dev/null >/dev/null 2>&1
    wineserver -w
    # Letters linked before the session starts, so that GetLogicalDrives lists them.
    local l
    if [ "$FLIP_VOLUMES" = yes ]; then
        for l in $letters; do ln -s "$WORK/volumes/$l" "$WINEPREFIX/dosdevices/$l:"; done
    fi
    wineserver -p </dev/null >/dev/null 2>&1
    "$WINE" wineboot </dev/null >/dev/null 2>&1
    server=""
    for p in $(session); do is_server "$p" && server=$p; done
    [ -n "$server" ] || { echo "no wineserver for $WINEPREFIX" >&2; exit 1; }
}

stop_session() {
    [ -z "$sleeper" ] || kill "$sleeper" 2>/dev/null || true
    [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null || true
    stop_virtual_display
    : >"$WORK/run/pids"
}

# The gauge's settings: none, eight drive panels D: to K: (drives), or eight panels on D: (d).
settings() {
    "$WINE" reg delete 'HKCU\Software\Kelvane' /f </dev/null >/dev/null 2>&1 || true
    [ "$1" = drives ] || [ "$1" = d ] || return 0
    local p code
    {
        printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kelvane\\Forms]\r\n"Panels"="4"\r\n'
        for p in 1 2 3 4 5 6 7 8; do
            if [ "$1" = d ]; then code=8; else code=$((p + 7)); fi
            printf '"Section_%d"="%d"\r\n' "$p" "$code"
        done
    } >"$run/drives.reg"
    "$WINE" reg import "$run/drives.reg" </dev/null >/dev/null 2>&1
}

# run_case NAME REP SETTINGS FLIPPING-LETTERS-ASKED -- COMMAND...
run_case() {
    local name="$1" rep="$2" setup="$3" volumes="$4"
    shift 5
    [[ "$name" =~ ${CASES:-.} ]] || return 0
    if [ "$volumes" -gt 0 ] && [ "$FLIP_VOLUMES" != yes ]; then
        echo "  $name: skipped, no volumes"
        return 0
    fi
    settings "$setup"
    "$WINE" "$@" </dev/null >"$run/client.log" 2>&1 &
    local client=$!
    pause "$WARMUP"
    local p helpers=() others=()
    for p in $(session); do
        [ "$p" = "$client" ] || [ "$p" = "$server" ] && continue
        if is_helper "$p"; then helpers+=("$p"); else others+=("$p"); fi
    done
    local t0 c0 h0 s0 x0 o0 cw0 hw0 a0 t1 c1 h1 s1 x1 o1 cw1 hw1 a1
    t0=$(now); c0=$(cpu_each "$client"); h0=$(cpu_each "${helpers[@]}")
    s0=$(cpu_each "$server"); x0=$(cpu_each "$xserver"); o0=$(cpu_each "${others[@]}")
    cw0=$(wakeups "$client")
    hw0=$(wakeups "${helpers[@]}"); a0=$(answers)
    pause "$DURATION"
    t1=$(now); c1=$(cpu_each "$client"); h1=$(cpu_each "${helpers[@]}")
    s1=$(cpu_each "$server"); x1=$(cpu_each "$xserver"); o1=$(cpu_each "${others[@]}")
    cw1=$(wakeups "$client")
    hw1=$(wakeups "${helpers[@]}"); a1=$(answers)
    kill "$client" 2>/dev/null || true
    wait "$client" 2>/dev/null || true
    # The helpers end with the gauge's job; the next case starts without them.
    for _ in $(seq 100); do
        local left=""
        for p in $(session); do is_helper "$p" && left=yes; done
        [ -z "$left" ] && break
        sleep 0.05
    done
    awk -v n="$name" -v r="$rep" -v c="$(cpu_between "$c0" "$c1")" \
        -v h="$(cpu_between "$h0" "$h1")" -v s="$(cpu_between "$s0" "$s1")" \
        -v x="$(cpu_between "$x0" "$x1")" -v o="$(cpu_between "$o0" "$o1")" \
        -v cw=$((cw1 - cw0)) -v hw=$((hw1 - hw0)) \
        -v a=$((a1 - a0)) -v nh="${#helpers[@]}" -v t0="$t0" -v t1="$t1" \
        -v load="$(cut -d' ' -f1 /proc/loadavg)" -v volumes="$volumes" 'BEGIN {
            d = t1 - t0
            printf "%s\t%s\t%.3f\t%.3f\t%.3f\t%.3f\t%.3f\t%.1f\t%.1f\t%.1f\t%d\t%s\n", n, r,
                c / 1e7 / d, h / 1e7 / d, s / 1e7 / d, x / 1e7 / d, o / 1e7 / d, cw / d, hw / d,
                (volumes > 0 ? a / volumes / d : 0), nh, load
        }' >>"$WORK/run/windows.tsv"
    echo "  $(tail -n 1 "$WORK/run/windows.tsv")"
}

measure() {
    : >"$WORK/run/windows.tsv"
    say "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
        "kernel $(uname -r), $(sed -n 's/^PRETTY_NAME="\(.*\)"/\1/p' /etc/os-release)," \
        "$("$WINE" --version 2>/dev/null), mingw-w64 gcc $(dpkg-query -W -f '${Version}' \
            gcc-mingw-w64-x86-64-posix 2>/dev/null || echo '?'), run as $(id -un)"
    say "Revision: $REVISION; builds: $MEASURED_BUILDS"
    say "Load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
    say "X resources: ${X_RESOURCES:-none (a bare display)}"
    say ""
    trap stop_session EXIT
    trap 'exit 129' HUP
    trap 'exit 130' INT
    trap 'exit 143' TERM
    start_session
    local floor="$WORK/build/bench/kelvane_floor.exe" rep b
    echo "Under Wine: ${REPS} x ${DURATION} s per case after ${WARMUP} s, display $DISPLAY"
    for rep in $(seq "$REPS"); do
        run_case floor "$rep" none 0 -- "$floor" C
        for b in $MEASURED_BUILDS; do run_case "${b%%:*}:default" "$rep" none 0 -- "${b#*:}"; done
        run_case floor-1-flip "$rep" none 1 -- "$floor" D
        for b in $MEASURED_BUILDS; do run_case "${b%%:*}:flip-1" "$rep" d 1 -- "${b#*:}"; done
        run_case floor-8-flip "$rep" none 8 -- "$floor" DEFGHIJK
        for b in $MEASURED_BUILDS; do run_case "${b%%:*}:flip" "$rep" drives 8 -- "${b#*:}"; done
    done
    stop_session
    trap - EXIT
    summarise
    say "Load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
    echo "Written to $OUT"
}

summarise() {
    say "### kelvane.exe under Wine (median of $REPS runs of ${DURATION} s each, after ${WARMUP} s)"
    say ""
    say "CPU in % of one core, run time of all threads (schedstat). \"process\" is the gauge's or"
    say "the floor's own, \"helpers\" its drive helpers', \"other Wine\" the prefix's services."
    say "Ratios are medians of each round's ratio: the process and its helpers over the floor"
    say "process; \"all\" adds the wineserver, Xvfb and other Wine to both sides."
    say ""
    say "| case | process | helpers | wineserver | Xvfb | other Wine | wake-ups/s (process, helpers) | new figures/s per letter | load | process / floor | all / floor's all |"
    say "|---|---:|---:|---:|---:|---:|---:|---:|---:|---|---|"
    awk -F'\t' '
        function median(list,   a, m, i, j, t) {
            m = split(list, a, " ")
            for (i = 2; i <= m; ++i)
                for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
            return m % 2 ? a[(m + 1) / 2] : (a[m / 2] + a[m / 2 + 1]) / 2
        }
        # The median over rounds of the ratio to the floor measured in the same round.
        function ratio(k, f, which,   r, list) {
            list = ""
            for (r = 1; r <= runs; ++r)
                if ((k SUBSEP r) in own && (f SUBSEP r) in own && own[f, r] > 0)
                    list = list " " (which == "all" ? all[k, r] / all[f, r] : own[k, r] / own[f, r])
            return list == "" ? "" : sprintf("%.2f × %s", median(list), f)
        }
        {
            if (!($1 in seen)) { order[++cases] = $1; seen[$1] = 1 }
            if ($2 > runs) runs = $2
            own[$1, $2] = $3 + $4
            all[$1, $2] = $3 + $4 + $5 + $6 + $7
            for (i = 3; i <= 12; ++i) col[$1, i] = col[$1, i] " " $i
        }
        END {
            for (i = 1; i <= cases; ++i) {
                k = order[i]
                base = k
                sub(/^[a-z]+:/, "", base)
                r = a = ""
                if (base == "default") { r = ratio(k, "floor", "own"); a = ratio(k, "floor", "all") }
                if (base == "flip-1") {
                    r = ratio(k, "floor", "own") ", " ratio(k, "floor-1-flip", "own")
                    a = ratio(k, "floor", "all") ", " ratio(k, "floor-1-flip", "all")
                }
                if (base == "flip") {
                    r = ratio(k, "floor", "own") ", " ratio(k, "floor-8-flip", "own")
                    a = ratio(k, "floor", "all") ", " ratio(k, "floor-8-flip", "all")
                }
                printf "| %s | %.3f | %.3f | %.3f | %.3f | %.3f | %.0f, %.0f | %s | %.2f | %s | %s |\n", k,
                    median(col[k, 3]), median(col[k, 4]), median(col[k, 5]), median(col[k, 6]),
                    median(col[k, 7]), median(col[k, 8]), median(col[k, 9]),
                    (median(col[k, 10]) > 0 ? sprintf("%.1f", median(col[k, 10])) : ""),
                    median(col[k, 12]), r, a
            }
        }' "$WORK/run/windows.tsv" | tee -a "$OUT"
    say ""
    say "Runs: $WORK/run/windows.tsv (case, round, CPU % of process, helpers, wineserver, Xvfb,"
    say "other Wine; wake-ups/s of process, helpers; answers/s per volume; helpers; load)"
    say ""
}

if [ "${1:-}" = --measure ]; then
    measure
else
    prepare_and_run
fi
