#!/bin/bash
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Measures what the gauge costs at its 100 Hz tick.
#
#   bench/run.sh [whole|tick|profile|all]     (default: all)
#
# whole: the real program on its own Xvfb (1024x768x24) + openbox, next to a floor program
#        that makes only the OS reads of a tick; see bench/README.md for the cases.
# tick:  one tick through the real code over a fake platform (Google Benchmark), heap
#        allocations per tick, and callgrind instructions per tick.
# profile: the real program under callgrind, instructions per tick of every thread.
# trace: the real program's system calls, X requests and bytes per tick, and a CPU profile.
#
# Environment:
#   DURATION=30 WARMUP=3 REPS=3   seconds measured, seconds skipped, repetitions (median)
#   PROFILE_SECONDS=10            seconds counted under callgrind
#   TRACE_SECONDS=5               seconds traced (strace, xtrace, perf) per case
#   BASELINE_REV=<git rev>        also measure the gauge built from that revision, same run
#   CASES=<regex>                 only the whole-program cases whose names match (default|flip)
#   ALSO="tag:dir ..."            also measure dir/kelvane (a build, or a script that execs one)
#   WORK=/tmp/kelvane-bench       build and scratch directory
#   OUT=$WORK/results.md          where the tables are written (also printed)
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$here")"
mode="${1:-all}"
DURATION="${DURATION:-30}"
WARMUP="${WARMUP:-3}"
REPS="${REPS:-3}"
PROFILE_SECONDS="${PROFILE_SECONDS:-10}"
TRACE_SECONDS="${TRACE_SECONDS:-5}"
WORK="${WORK:-/tmp/kelvane-bench}"
OUT="${OUT:-$WORK/results.md}"
mkdir -p "$WORK"
: >"$OUT"

say() { printf '%s\n' "$*" | tee -a "$OUT"; }

build() {
    # shellcheck source=tools/deps.sh
    . "$root/tools/deps.sh"
    ensure_packages build
    ensure_packages test
    ensure_packages bench
    cmake -S "$root" -B "$WORK/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=OFF \
        -DKELVANE_BENCH=ON >/dev/null
    cmake --build "$WORK/build" >/dev/null
    mkdir -p "$WORK/tools"
    for tool in floor memory_churn meminfo_flip; do
        cc -O2 -Wall -Wextra -Wpedantic -Werror -o "$WORK/tools/$tool" "$here/$tool.c"
    done
    cc -O2 -Wall -Wextra -Wpedantic -Werror -o "$WORK/tools/x_floor" "$here/x_floor.c" -lxcb
    if [ -n "${BASELINE_REV:-}" ]; then
        # Built anew: git archive dates every file at its commit, so the objects of a later
        # revision built here before would look newer than an older revision's sources.
        rm -rf "$WORK/baseline-src" "$WORK/baseline"
        mkdir -p "$WORK/baseline-src"
        git -C "$root" archive "$BASELINE_REV" | tar -x -C "$WORK/baseline-src"
        cmake -S "$WORK/baseline-src" -B "$WORK/baseline" -G Ninja -DCMAKE_BUILD_TYPE=Release \
            -DKELVANE_TESTS=OFF -DKELVANE_BENCH=ON >/dev/null
        cmake --build "$WORK/baseline" >/dev/null
    fi
}

machine() {
    say "Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)," \
        "kernel $(uname -r), $(sed -n 's/^PRETTY_NAME="\(.*\)"/\1/p' /etc/os-release)," \
        "Qt $(dpkg-query -W -f '${Version}' qt6-base-dev 2>/dev/null || echo '?')"
    say "Load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
    say "Revision: $(git -C "$root" rev-parse --short HEAD)$(git -C "$root" diff --quiet HEAD -- src || echo ' + uncommitted changes in src/')${BASELINE_REV:+, baseline $BASELINE_REV}"
    say ""
}

# ---------------------------------------------------------------- whole program

hz="$(getconf CLK_TCK)"

# A process and its children: the gauge asks the volumes from a child process, whose cost is
# the gauge's too.
# shellcheck disable=SC2046 # the children files' pids, split into words, join the list
family() { echo "$1" $(cat /proc/"$1"/task/*/children 2>/dev/null); }
cpu_ticks() {
    for p in $(family "$1"); do sed 's/^.*) //' "/proc/$p/stat" 2>/dev/null; done |
        awk '{s += $12 + $13} END {print s + 0}'
}
# The same time to the nanosecond (utime + stime come in 10 ms units): all threads' run time.
cpu_ns() {
    for p in $(family "$1"); do cat /proc/"$p"/task/*/schedstat 2>/dev/null; done |
        awk '{s += $1} END {printf "%.0f\n", s}'
}
# Over all threads of the process: Qt reads the X connection on a thread of its own.
wakeups() {
    for p in $(family "$1"); do cat /proc/"$p"/task/*/status 2>/dev/null; done |
        awk '/^voluntary_ctxt_switches/ {s += $2} END {print s + 0}'
}
anon_kib() {
    for p in $(family "$1"); do cat /proc/"$p"/smaps_rollup 2>/dev/null; done |
        awk '/^Pss_Anon:/ {s += $2} END {print s + 0}'
}
now() { date +%s.%N; }

# shellcheck source=tools/virtual_display.sh
. "$root/tools/virtual_display.sh"
start_display() { start_virtual_display "$WORK" || exit 1; }
stop_display() { stop_virtual_display; }

# A settings file with eight drive panels, C: to J:.
eight_drives() {
    mkdir -p "$1/Kelvane"
    {
        printf '[StartUp]\nLeft=6660\nTop=3900\n\n[Forms]\nPanels=4\n'
        for p in 1 2 3 4 5 6 7 8; do printf 'Section_%d=%d\n' "$p" $((p + 6)); done
    } >"$1/Kelvane/Kelvane.conf"
}

# start_case SETUP HELPER -- COMMAND...: starts the client in the background ($client) with
# its helper ($helper_pid) and a config dir of its own.
# SETUP: plain | drives8 (settings file)
# HELPER: none | churn (real memory churn) | steady (a fixed meminfo over /proc/meminfo) |
#         flip (a meminfo over /proc/meminfo that changes after every read)
start_case() {
    local setup="$1" helper="$2"
    shift 3
    local dir="$WORK/run"
    rm -rf "$dir"
    mkdir -p "$dir/config" "$dir/runtime"
    chmod 700 "$dir/runtime"
    [ "$setup" = drives8 ] && eight_drives "$dir/config"
    helper_pid=""
    case "$helper" in
        churn) "$WORK/tools/memory_churn" & helper_pid=$! ;;
        steady)
            printf 'MemTotal:        8388608 kB\nMemFree:         1000000 kB\nMemAvailable:    2600000 kB\n' \
                >"$dir/meminfo"
            ;;
        flip)
            "$WORK/tools/meminfo_flip" "$dir/meminfo" &
            helper_pid=$!
            for _ in $(seq 50); do [ -s "$dir/meminfo" ] && break; sleep 0.02; done
            ;;
    esac
    if [ "$helper" = flip ] || [ "$helper" = steady ]; then
        # The bind mount stays inside the client's own mount namespace.
        XDG_CONFIG_HOME="$dir/config" XDG_RUNTIME_DIR="$dir/runtime" \
            unshare -m -- sh -c 'm=$1; shift; mount --bind "$m" /proc/meminfo && exec "$@"' \
            sh "$dir/meminfo" "$@" &
    else
        XDG_CONFIG_HOME="$dir/config" XDG_RUNTIME_DIR="$dir/runtime" "$@" &
    fi
    client=$!
}

end_case() {
    kill "$client" 2>/dev/null || true
    wait "$client" 2>/dev/null || true
    if [ -n "$helper_pid" ]; then
        kill "$helper_pid" 2>/dev/null || true
        wait "$helper_pid" 2>/dev/null || true
    fi
}

needs_root() {
    if { [ "$1" = flip ] || [ "$1" = steady ]; } && [ "$(id -u)" -ne 0 ]; then
        echo "  skipped: a bind mount over /proc/meminfo needs root"
        return 0
    fi
    return 1
}

# run_case NAME REP SETUP HELPER -- COMMAND...
run_case() {
    local name="$1" rep="$2" setup="$3" helper="$4"
    shift 4
    [[ "$name" =~ ${CASES:-.} ]] || return 0
    needs_root "$helper" && return 0
    start_case "$setup" "$helper" "$@"
    sleep "$WARMUP"
    local c0 x0 cn0 xn0 w0 a0 t0 c1 x1 cn1 xn1 w1 a1 t1
    t0=$(now); c0=$(cpu_ticks "$client"); x0=$(cpu_ticks "$xserver")
    cn0=$(cpu_ns "$client"); xn0=$(cpu_ns "$xserver"); w0=$(wakeups "$client")
    a0=$(anon_kib "$client")
    sleep "$DURATION"
    t1=$(now); c1=$(cpu_ticks "$client"); x1=$(cpu_ticks "$xserver")
    cn1=$(cpu_ns "$client"); xn1=$(cpu_ns "$xserver"); w1=$(wakeups "$client")
    a1=$(anon_kib "$client")
    end_case
    awk -v n="$name" -v r="$rep" -v hz="$hz" -v c="$((c1 - c0))" -v x="$((x1 - x0))" \
        -v cn="$((cn1 - cn0))" -v xn="$((xn1 - xn0))" -v w="$((w1 - w0))" -v a0="$a0" \
        -v a1="$a1" -v t0="$t0" -v t1="$t1" 'BEGIN {
            s = t1 - t0
            printf "%s\t%s\t%.3f\t%.3f\t%.3f\t%.3f\t%.1f\t%d\t%d\n", n, r, cn / 1e7 / s,
                c / hz / s * 100, xn / 1e7 / s, x / hz / s * 100, w / s, a0, a1
        }' >>"$WORK/whole.tsv"
    echo "  $(tail -n 1 "$WORK/whole.tsv")"
}

whole() {
    local floor="$WORK/tools/floor"
    : >"$WORK/whole.tsv"
    trap stop_display EXIT
    start_display
    echo "Whole program: ${REPS} x ${DURATION} s per case after ${WARMUP} s, display $DISPLAY"
    for rep in $(seq "$REPS"); do
        # Eight drive panels on this machine: C: is "/", D: to J: name no volume, so the gauge
        # fails their queries without a system call. floor-8 makes eight statvfs calls anyway.
        run_case floor-1 "$rep" plain none -- "$floor" /
        run_case floor-1-steady "$rep" plain steady -- "$floor" /
        run_case floor-8 "$rep" plain none -- "$floor" / / / / / / / /
        run_case floor-1-churn "$rep" plain churn -- "$floor" /
        run_case floor-1-flip "$rep" plain flip -- "$floor" /
        # The X server woken for one small request a tick: its least share at 100 Hz.
        run_case x-floor "$rep" plain none -- "$WORK/tools/x_floor"
        for b in "${builds[@]}"; do
            local tag="${b%%:*}" bin="${b#*:}/kelvane"
            run_case "$tag:default" "$rep" plain none -- "$bin"
            run_case "$tag:steady" "$rep" plain steady -- "$bin"
            run_case "$tag:8-drives" "$rep" drives8 none -- "$bin"
            run_case "$tag:churn" "$rep" plain churn -- "$bin"
            run_case "$tag:flip" "$rep" plain flip -- "$bin"
        done
    done
    stop_display
    trap - EXIT
    summarise_whole
}

summarise_whole() {
    say "### Whole program (median of $REPS runs of ${DURATION} s each, after ${WARMUP} s warm-up)"
    say ""
    say "CPU in % of one core, from the run time of all threads (schedstat, ns) and, in brackets,"
    say "from utime + stime in /proc/PID/stat (10 ms units). The ratio is the median of each"
    say "run's schedstat figure over the floor's in the same run."
    say ""
    say "| case | client CPU % | X server CPU % | wake-ups/s | Pss_Anon KiB start → end | client / floor |"
    say "|---|---:|---:|---:|---:|---|"
    awk -F'\t' '
        function median(list,   a, m, i, j, t) {
            m = split(list, a, " ")
            for (i = 2; i <= m; ++i)
                for (j = i; j > 1 && a[j - 1] + 0 > a[j] + 0; --j) { t = a[j]; a[j] = a[j - 1]; a[j - 1] = t }
            return m % 2 ? a[(m + 1) / 2] : (a[m / 2] + a[m / 2 + 1]) / 2
        }
        # The median over runs of the ratio to the floor measured in the same run.
        function ratio(k, f,   r, list) {
            list = ""
            for (r = 1; r <= runs; ++r)
                if ((k SUBSEP r) in one && one[f, r] > 0) list = list " " one[k, r] / one[f, r]
            return list == "" ? "" : sprintf("%.2f × %s", median(list), f)
        }
        {
            if (!($1 in seen)) { order[++cases] = $1; seen[$1] = 1 }
            if ($2 > runs) runs = $2
            one[$1, $2] = $3
            cn[$1] = cn[$1] " " $3; c[$1] = c[$1] " " $4; xn[$1] = xn[$1] " " $5
            x[$1] = x[$1] " " $6; w[$1] = w[$1] " " $7; a0[$1] = a0[$1] " " $8; a1[$1] = a1[$1] " " $9
        }
        END {
            for (i = 1; i <= cases; ++i) {
                k = order[i]
                base = k
                sub(/^[a-z]+:/, "", base)
                r = ""
                if (base == "default") r = ratio(k, "floor-1")
                else if (base == "steady") r = ratio(k, "floor-1-steady")
                else if (base == "8-drives") r = ratio(k, "floor-8") ", " ratio(k, "floor-1")
                else if (base == "churn") r = ratio(k, "floor-1-churn")
                else if (base == "flip") r = ratio(k, "floor-1-flip")
                printf "| %s | %.3f (%.2f) | %.3f (%.2f) | %.1f | %d → %d | %s |\n", k,
                    median(cn[k]), median(c[k]), median(xn[k]), median(x[k]), median(w[k]),
                    median(a0[k]), median(a1[k]), r
            }
        }' "$WORK/whole.tsv" | tee -a "$OUT"
    say ""
    say "Runs: $WORK/whole.tsv (case, run, client CPU % schedstat, stat, X CPU % schedstat, stat,"
    say "wake-ups/s, Pss_Anon KiB at start, at end)"
    say ""
}

# ---------------------------------------------------------------- one tick

tick() {
    local b tag dir
    for b in "${builds[@]}"; do
        tag="${b%%:*}"
        dir="${b#*:}"
        [ -x "$dir/bench/kelvane_tick_bench" ] && tick_of "$tag" "$dir/bench/kelvane_tick_bench"
    done
}

tick_of() {
    local tag="$1" bench="$2"
    export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
    tick_on "$tag" "$bench" "offscreen platform, painting included"
    unset QT_QPA_PLATFORM
    # The same ticks drawn on an X server: what the client does to send them.
    trap stop_display EXIT
    start_display
    export QT_QPA_PLATFORM=xcb
    tick_on "$tag" "$bench" "on Xvfb, the X server's part not counted"
    stop_display
    trap - EXIT
    unset QT_QPA_PLATFORM LC_ALL
}

tick_on() {
    local tag="$1" bench="$2"
    say "### One tick over a fake platform ($tag; $3)"
    say ""
    say '```'
    "$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true 2>&1 | tee -a "$OUT"
    say '```'
    say ""
    say "Repainted per tick (paint events by control, and pixels):"
    say ""
    say '```'
    "$bench" --paints 2>/dev/null | tee -a "$OUT"
    say '```'
    say ""
    say "Callgrind, instructions per tick (1000 ticks after 200 warm-up ticks):"
    say ""
    local scenario ir
    for scenario in unchanged captions bars; do
        valgrind --tool=callgrind --callgrind-out-file="$WORK/callgrind.$tag.$QT_QPA_PLATFORM.$scenario" \
            --collect-atstart=no --toggle-collect='kelvane::TickLoop*' \
            "$bench" --ticks="$scenario" >/dev/null 2>&1
        ir=$(callgrind_annotate "$WORK/callgrind.$tag.$QT_QPA_PLATFORM.$scenario" 2>/dev/null |
            awk '/PROGRAM TOTALS/ && !done {gsub(",", "", $1); print $1; done = 1}')
        say "- $scenario: $((ir / 1000)) instructions per tick ($WORK/callgrind.$tag.$QT_QPA_PLATFORM.$scenario)"
    done
    say ""
}

# ---------------------------------------------------------------- the whole gauge, profiled

# The calls of a function named like $1 in a callgrind file.
calls_to() {
    awk -v want="$1" '
        /^c?fn=\(/ {
            id = $0; sub(/^c?fn=\(/, "", id); name = id; sub(/\).*/, "", id)
            sub(/^[0-9]+\) ?/, "", name)
            if (name != "") names[id] = name
            target = ($0 ~ /^cfn=/) ? names[id] : ""
            next
        }
        /^calls=/ && index(target, want) { split($0, a, /[= ]/); total += a[2]; target = "" }
        END { print total + 0 }' "$2"
}

# profile_case TAG GAUGE HELPER: instructions per tick of the whole gauge (every thread,
# user space) over PROFILE_SECONDS, once it has settled under valgrind.
profile_case() {
    local tag="$1" gauge="$2" helper="$3" out="$WORK/profile.$1.$3"
    needs_root "$helper" && return 0
    rm -f "$out" "$out".*
    start_case plain "$helper" -- valgrind --tool=callgrind --instr-atstart=no \
        --log-file="$out.log" --callgrind-out-file="$out" "$gauge"
    sleep 8
    callgrind_control -i on "$client" >/dev/null
    sleep "$PROFILE_SECONDS"
    callgrind_control -i off "$client" >/dev/null
    callgrind_control -d "$client" >/dev/null
    sleep 1
    end_case
    local ir ticks
    ir=$(callgrind_annotate "$out.1" 2>/dev/null |
        awk '/PROGRAM TOTALS/ && !done {gsub(",", "", $1); print $1; done = 1}')
    ticks=$(calls_to "FrmMain::Timer1_Timer" "$out.1")
    say "- $tag, $helper: $((ir / (ticks > 0 ? ticks : 1))) instructions per tick over $ticks ticks ($out.1)"
}

profile() {
    say "### The whole gauge under callgrind (instructions per tick, every thread)"
    say ""
    trap stop_display EXIT
    start_display
    local b
    for b in "${builds[@]}"; do
        for helper in steady flip; do
            profile_case "${b%%:*}" "${b#*:}/kelvane" "$helper"
        done
    done
    stop_display
    trap - EXIT
    say ""
}

# ---------------------------------------------------------------- where a tick's time goes

# trace_case TAG GAUGE HELPER: over TRACE_SECONDS, the gauge's system calls per tick
# (strace -c, every thread), the X requests and bytes it sends per tick (through xtrace),
# and where its CPU and the X server's go (perf, software clock, call graphs).
trace_case() {
    local tag="$1" gauge="$2" helper="$3" out="$WORK/trace.$1.$3" ticks
    needs_root "$helper" && return 0
    # The X requests: the gauge talks to the server through xtrace's proxy display.
    local real="$DISPLAY"
    xtrace -n -k -d "$real" -D :77 -o "$out.x11" >/dev/null 2>&1 &
    local proxy=$!
    for _ in $(seq 100); do [ -e /tmp/.X11-unix/X77 ] && break; sleep 0.05; done
    DISPLAY=:77 start_case plain "$helper" -- "$gauge"
    sleep "$WARMUP"
    local from to
    from=$(wc -l <"$out.x11")
    timeout -s INT "$TRACE_SECONDS" strace -c -f -q -p "$client" -o "$out.strace" || true
    to=$(wc -l <"$out.x11")
    end_case
    kill "$proxy" 2>/dev/null || true
    wait "$proxy" 2>/dev/null || true
    # The profile without the proxy between them, which would cost both sides its own work.
    start_case plain "$helper" -- "$gauge"
    sleep "$WARMUP"
    perf record -q -F 4000 -e cpu-clock -g -p "$client,$xserver" -o "$out.perf" \
        -- sleep "$((TRACE_SECONDS * 4))" >/dev/null 2>&1 || true
    end_case
    ticks=$((TRACE_SECONDS * 100))
    say "#### $tag, $helper"
    say ""
    say "System calls per tick (strace -c -f, $TRACE_SECONDS s, about $ticks ticks):"
    say ""
    say '```'
    awk -v t="$ticks" 'NR > 2 && $NF != "total" && $4 ~ /^[0-9]+$/ {
            printf "%-16s %6.2f\n", $NF, $4 / t }' "$out.strace" | sort -k2 -rn | awk 'NR <= 12' |
        tee -a "$OUT"
    say '```'
    say ""
    say "X requests per tick, and their bytes (xtrace, the $TRACE_SECONDS s of strace, $ticks ticks):"
    say ""
    say '```'
    sed -n "$((from + 1)),${to}p" "$out.x11" | awk -v t="$ticks" '
        /:<:[0-9a-f]+: *[0-9]+: / {
            split($0, f, ":"); n = f[4] + 0
            r = $0; sub(/^.*Request\([0-9]+\): /, "", r); sub(/ .*/, "", r)
            count[r]++; bytes[r] += n; all += n; reqs++
        }
        END {
            for (r in count) printf "%-24s %7.2f requests %8.1f bytes\n", r, count[r] / t, bytes[r] / t
            printf "%-24s %7.2f requests %8.1f bytes\n", "(all)", reqs / t, all / t
        }' | sort -k4 -rn | tee -a "$OUT"
    say '```'
    say ""
    say "Where the CPU goes (perf, cpu-clock at 4 kHz, $((TRACE_SECONDS * 4)) s; share of all samples, self):"
    say ""
    say '```'
    perf report -q -i "$out.perf" --no-children --sort comm,dso --stdio -g none 2>/dev/null |
        awk 'NF && !/^#/ && ++n <= 12' | tee -a "$OUT"
    say ""
    perf report -q -i "$out.perf" --no-children --sort comm,sym --stdio -g none 2>/dev/null |
        awk 'NF && !/^#/ && ++n <= 30' | tee -a "$OUT"
    say '```'
    say ""
}

trace() {
    say "### Where a tick goes: system calls, X requests and CPU by function"
    say ""
    trap stop_display EXIT
    start_display
    local b
    for b in "${builds[@]}"; do
        for helper in none flip; do
            trace_case "${b%%:*}" "${b#*:}/kelvane" "$helper"
        done
    done
    stop_display
    trap - EXIT
}

build
machine
builds=("now:$WORK/build")
[ -n "${BASELINE_REV:-}" ] && builds=("before:$WORK/baseline" "${builds[@]}")
# ALSO="tag:dir ...": more gauges (dir/kelvane) measured in the same run, a wrapper script too.
for extra in ${ALSO:-}; do builds+=("$extra"); done
case "$mode" in
    whole) whole ;;
    tick) tick ;;
    profile) profile ;;
    trace) trace ;;
    all) tick; profile; whole ;;
    *) echo "usage: $0 [whole|tick|profile|trace|all]" >&2; exit 2 ;;
esac
say "Load average at end: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Written to $OUT"
