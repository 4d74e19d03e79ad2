#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Builds the Windows build (the `windows` preset: mingw-w64, build/windows) and runs its tests
# under Wine. Needs g++-mingw-w64-x86-64-posix, wine, wine64 and doctest-dev; the stuck-volume
# test also fuse3 and libfuse3-dev, and root.
# Usage: tests/windows/run_under_wine.sh [ctest arguments]
set -eu
cd "$(dirname "$0")/../.."
for need in x86_64-w64-mingw32-g++-posix /usr/lib/wine/wine64 wineserver cmake ninja; do
    command -v "$need" >/dev/null || { echo "missing: $need" >&2; exit 1; }
done
cmake --preset windows >/dev/null
cmake --build --preset windows

# The tests are console programs: they need no display, and a server started with none would
# give later window programs of the prefix none either, so it is ended after the tests.
unset DISPLAY
export WINEPREFIX="$PWD/build/windows/wine" WINEDEBUG=-all
# CTest waits for a test's output to close, which Wine's own processes hold open until a
# server that outlives the test has gone (about 2.4 s a test); one first started inside the
# CTest run hangs it. So the server is started before, and kept up until the tests are done.
mkdir -p "$WINEPREFIX"
if wineserver -p 2>/dev/null; then
    trap 'wineserver -k' EXIT
fi
/usr/lib/wine/wine64 wineboot --init </dev/null >/dev/null 2>&1
ctest --preset windows "$@"
