#!/bin/sh
# The long soak: the refresh tick run a million times (or $1 times) over a changing, faulty
# fake platform, with the heap and the panels checked as it goes; prints the heap and
# resident figures. Builds in build/test, or $KELVANE_BUILD.
# Usage: tests/soak/run.sh [ticks, default 1000000]
set -eu
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${KELVANE_BUILD:-$root/build/test}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target tst_soak >/dev/null
KELVANE_SOAK_TICKS="${1:-1000000}" GLIBC_TUNABLES=glibc.malloc.tcache_count=0 \
    QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 "$build/tests/tst_soak"
