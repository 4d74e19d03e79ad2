#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Builds Kelvane with its tests and runs every test: the Linux build's, then kelvane.exe's under
# Wine (ctest arguments apply to both).
set -eu
cd "$(dirname "$0")"
. tools/deps.sh
# The desktop-session tests run the gauge on the headless compositors too.
ensure_packages build test wayland windows
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/test
ctest --test-dir build/test --output-on-failure "$@"
tests/windows/run_under_wine.sh --output-on-failure "$@"
