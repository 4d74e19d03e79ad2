#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Redraws Kelvane's pictures (src/drawing/pictures) and installable icons (data/icons/hicolor)
# with tools/make_pictures. Needs Qt 6 with its SVG module (Debian: qt6-base-dev qt6-svg-dev)
# and the DejaVu fonts (fonts-dejavu-core).
#
#   tools/make-pictures.sh [BUILD_DIR]
#
# The tool is built in BUILD_DIR, or in a temporary folder that is removed afterwards.
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)

if [ $# -ge 1 ]; then
    build_dir=$1
else
    build_dir=$(mktemp -d "${TMPDIR:-/tmp}/make-pictures.XXXXXX")
    trap 'rm -rf "$build_dir"' EXIT
fi

generator=
if command -v ninja >/dev/null 2>&1; then
    generator="-G Ninja"
fi
# shellcheck disable=SC2086  # $generator is empty or two words
cmake -S "$source_dir/tools/make_pictures" -B "$build_dir" $generator \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build_dir"
# Qt wants a private runtime folder even off screen.
runtime_dir=$(mktemp -d "${TMPDIR:-/tmp}/make-pictures-run.XXXXXX")
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$runtime_dir "$build_dir/make_pictures" "$source_dir" ||
    status=$?
rm -rf "$runtime_dir"
exit "${status:-0}"
