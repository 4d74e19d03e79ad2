#!/bin/sh
# Builds the Debian package of Kelvane: build/deb/kelvane_<version>_<arch>.deb, or the same
# in BUILD_DIR.
#
#   tools/make-deb.sh [BUILD_DIR]
#
# The same by hand:
#   cmake -S . -B build/deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=OFF
#   cmake --build build/deb
#   cpack --config build/deb/CPackConfig.cmake -B build/deb
set -eu
cd "$(dirname "$0")/.."
. tools/deps.sh
ensure_packages build
ensure_packages package
build="${1:-build/deb}"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=OFF >/dev/null
cmake --build "$build"
cpack --config "$build/CPackConfig.cmake" -B "$build"
