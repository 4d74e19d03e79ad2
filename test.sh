#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Builds Kelvane with its tests and runs every test.
set -eu
cd "$(dirname "$0")"
. tools/deps.sh
ensure_packages build
ensure_packages test
cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/test
ctest --test-dir build/test --output-on-failure "$@"
