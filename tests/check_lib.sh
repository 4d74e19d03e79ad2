# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# shellcheck shell=sh
# Assertions shared by the shell tests: check DESCRIPTION COMMAND... runs the command and
# reports it, failing when it fails, so that a script under set -e ends at the first failure
# instead of waiting out the limits of the steps that depend on it; finish exits non-zero when
# any check failed.

failures=0

check() {
    description="$1"
    shift
    if "$@"; then
        echo "ok - $description"
    else
        echo "FAILED - $description"
        failures=$((failures + 1))
        return 1
    fi
}

finish() {
    [ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
}
