#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# The long soak: the refresh tick run a million times (or $1 times) over a changing, faulty
# fake platform, checking the panels and the heap as it goes. Builds in build/test, or
# $KELVANE_BUILD.
# Usage: tools/soak.sh [ticks, default 1000000]
set -eu
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${KELVANE_BUILD:-$root/build/test}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target tst_gauge >/dev/null
KELVANE_SOAK_TICKS="${1:-1000000}" GLIBC_TUNABLES=glibc.malloc.tcache_count=0 "$build/tests/tst_gauge" soak
