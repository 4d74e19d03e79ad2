#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
#
# Builds the Debian package of Kelvane, build/deb/kelvane_<version>_<arch>.deb (or the same
# in BUILD_DIR), with the hardening flags Debian builds its own packages with, and checks it
# with lintian: any error or warning fails; informational notes are shown.
#
#   tools/make-deb.sh [BUILD_DIR]
#
# The same by hand:
#   export DEB_BUILD_MAINT_OPTIONS=hardening=+all
#   cmake -S . -B build/deb -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=OFF \
#       -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
#       -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
#   cmake --build build/deb
#   cpack --config build/deb/CPackConfig.cmake -B build/deb
#   lintian --fail-on error,warning --display-info build/deb/kelvane_*.deb
set -eu
cd "$(dirname "$0")/.."
. tools/deps.sh
ensure_packages build
ensure_packages package
build="${1:-build/deb}"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# On the command line rather than in the environment, so a reused build folder takes them too.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKELVANE_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build"
cpack --config "$build/CPackConfig.cmake" -B "$build" >"$build/cpack.log" ||
    { cat "$build/cpack.log"; exit 1; }
cat "$build/cpack.log"
deb=$(sed -n 's/^CPack: - package: \(.*\) generated\.$/\1/p' "$build/cpack.log")
lintian --allow-root --fail-on error,warning --display-info "$deb"
echo "lintian finds no error or warning in $deb"
