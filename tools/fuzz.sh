#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Fuzzes the parsers that read outside text, each for a fixed time, all at once.
# Usage: tools/fuzz.sh [seconds per target, default 60] [target ...]
# Targets: setting_number meminfo mount_table (default: all three). Needs clang with
# libclang-rt (the compiler-rt runtime); builds in build/fuzz, or $KELVANE_FUZZ_BUILD.
# New inputs land in the build folder; an input that breaks a property is saved there as
# crash-* and named in the summary: add it to tests/fuzz/corpus/<target>/ and as a test row.
set -eu
here="$(cd "$(dirname "$0")/../tests/fuzz" && pwd)"
root="$(cd "$here/../.." && pwd)"
seconds="${1:-60}"
[ $# -gt 0 ] && shift
targets="${*:-setting_number meminfo mount_table}"
build="${KELVANE_FUZZ_BUILD:-$root/build/fuzz}"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DKELVANE_FUZZ=ON >/dev/null
for target in $targets; do
    cmake --build "$build" --target "fuzz_$target" >"$build/build.log" 2>&1 ||
        { cat "$build/build.log"; exit 1; }
done

for target in $targets; do
    work="$build/run/$target"
    mkdir -p "$work/corpus"
    # The first folder takes what the run finds; the repository's seeds stay as they are.
    (cd "$work" && "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=8192 \
        -print_final_stats=1 -dict="$here/$target.dict" -artifact_prefix="$work/" \
        corpus "$here/corpus/$target" >log 2>&1) &
done
wait || true

status=0
for target in $targets; do
    work="$build/run/$target"
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)"
    found="$(cd "$work" && for name in crash-* leak-* oom-* timeout-*; do
        [ -e "$name" ] && echo "$name"; done || true)"
    echo "$target: ${runs:-?} executions in ${seconds} s, corpus $(ls "$work/corpus" | wc -l) inputs"
    if [ -n "$found" ] || ! grep -q "^Done" "$work/log"; then
        # shellcheck disable=SC2086 # the names, one a line, on one line
        echo "  FOUND: $(echo $found) (see $work/log)"
        status=1
    fi
done
exit $status
