#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# The real gauge as a screen reader sees it, over AT-SPI on openbox and Xvfb: a private session
# bus, on which the checking script's first question starts the accessibility bus, and the gauge
# told to take part (QT_LINUX_ACCESSIBILITY_ALWAYS_ON). The checks are in e2e_accessibility.py.
# Usage: e2e_accessibility.sh KELVANE (fails, saying so, when a program it uses is missing)

set -eu
here="$(cd "$(dirname "$0")" && pwd)"
missing=""
for tool in Xvfb openbox xdotool xprop dbus-run-session /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || missing="$missing $tool"
done
# pyatspi is packaged for Debian's own Python, whichever python3 comes first on the PATH.
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing="$missing python3-pyatspi"
[ -z "$missing" ] || { echo "FAILED - missing$missing (./test.sh installs what the tests use)"; exit 1; }

# shellcheck source=tests/e2e/e2e_lib.sh
. "$here/e2e_lib.sh"
# The session's buses and daemons form a process group of their own, which ends with the test.
cleanup() {
    kill -- "-${session:-0}" 2>/dev/null || true
    stop_virtual_display
    rm -rf "$WORK"
}
start_virtual_display "$WORK"
# Their output goes to a file: a daemon left holding the test's output would keep CTest waiting.
setsid dbus-run-session -- /usr/bin/python3 "$here/e2e_accessibility.py" "$KELVANE" "$SETTINGS" \
    >"$WORK/checks.log" 2>"$WORK/session.log" &
session=$!
status=0
wait "$session" || status=$?
cat "$WORK/checks.log"
if [ "$status" -ne 0 ]; then
    echo "FAILED - the checks ended with status $status; the session said:"
    grep -v 'Failed to set fd limit' "$WORK/session.log" || true
fi
exit "$status"
