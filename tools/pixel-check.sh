#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Compares the main window pixel for pixel between a revision and the working tree (or a
# second revision): every reading kind, both colour schemes, every key, each size step and
# the held buttons, at device pixel ratios 1 and 2, on the offscreen platform.
#
#   tools/pixel-check.sh BEFORE [AFTER]
#
# Captures go to $WORK (default /tmp/kelvane-pixels)/<name>/{1x,2x}; the script ends with
# the list of differing pictures and fails when there is any.
set -eu
cd "$(dirname "$0")/.."
top="$(pwd)"
work="${WORK:-/tmp/kelvane-pixels}"
mkdir -p "$work"
. tools/deps.sh
ensure_packages build

# capture NAME SOURCE_DIR
capture() {
    build="$work/build-$1"
    cmake -S "$2" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=OFF \
        -DCMAKE_PROJECT_kelvane_INCLUDE="$top/tools/pixel_check/inject.cmake" >/dev/null
    cmake --build "$build" --target pixel_check >/dev/null
    rm -rf "${work:?}/$1"
    export FONTCONFIG_FILE="$top/tests/view/fonts.conf"
    QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$build/pixel_check" capture "$work/$1/1x"
    QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 QT_SCALE_FACTOR=2 \
        "$build/pixel_check" capture "$work/$1/2x"
    checker="$build/pixel_check"
}

# source_of REV: the revision's files in a folder of their own.
source_of() {
    dir="$work/src-$1"
    rm -rf "$dir"
    mkdir -p "$dir"
    git archive "$1" | tar -x -C "$dir"
    echo "$dir"
}

before="$1"
capture before "$(source_of "$before")"
if [ $# -ge 2 ]; then
    capture after "$(source_of "$2")"
else
    capture after "$top"
fi
status=0
for ratio in 1x 2x; do
    echo "ratio $ratio:"
    QT_QPA_PLATFORM=offscreen "$checker" compare "$work/before/$ratio" "$work/after/$ratio" || status=1
done
exit $status
