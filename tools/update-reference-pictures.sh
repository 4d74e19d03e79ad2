#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Makes the reference pictures of the main window (tests/view/reference) anew from the working
# tree, for a change to what the window shows that is meant. Look at the pictures that changed
# (git status names them; tools/pixel-check.sh REV compares with any revision) before committing.
set -eu
cd "$(dirname "$0")/.."
. tools/deps.sh
ensure_packages build
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/test --target pixel_check
for ratio in 1 2; do
    dir="tests/view/reference/${ratio}x"
    rm -rf "$dir"
    FONTCONFIG_FILE="$(pwd)/tests/view/fonts.conf" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 \
        QT_SCALE_FACTOR="$ratio" build/test/tests/pixel_check capture "$dir" 2>/dev/null
done
# Smaller files, the same pixels.
if command -v optipng >/dev/null; then
    optipng -quiet -o2 tests/view/reference/*/*.png
fi
