#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# The real gauge as Orca speaks it, on openbox and Xvfb: a private session bus, on which the
# checking script starts the accessibility bus, Orca with its debug log and a second application
# to type in. The checks, read from Orca's log, are in e2e_orca.py.
# Usage: e2e_orca.sh KELVANE (fails, saying so, when a program it uses is missing)

set -eu
here="$(cd "$(dirname "$0")" && pwd)"
missing=""
for tool in Xvfb openbox xdotool xprop dbus-run-session orca speech-dispatcher \
    /usr/libexec/at-spi-bus-launcher; do
    command -v "$tool" >/dev/null || missing="$missing $tool"
done
/usr/bin/python3 -c 'import pyatspi, gi; gi.require_version("Gtk", "3.0")' 2>/dev/null ||
    missing="$missing python3-pyatspi gir1.2-gtk-3.0"
[ -z "$missing" ] || { echo "FAILED - missing$missing (./test.sh installs what the tests use)"; exit 1; }

# shellcheck source=tests/e2e/e2e_lib.sh
. "$here/e2e_lib.sh"
export HOME="$WORK/home"
mkdir -p "$HOME"
cleanup() {
    kill -- "-${session:-0}" 2>/dev/null || true
    stop_virtual_display
    # E2E_ORCA_LOG=FILE keeps Orca's whole log.
    [ -z "${E2E_ORCA_LOG:-}" ] || cp "$WORK/orca.log" "$E2E_ORCA_LOG" 2>/dev/null || true
    if [ "${status:-1}" -ne 0 ] && [ -f "$WORK/orca.log" ]; then
        echo "What Orca said:"
        grep "SPEECH OUTPUT" "$WORK/orca.log" | tail -n 80 || true
    fi
    rm -rf "$WORK"
}
start_virtual_display "$WORK"
setsid dbus-run-session -- /usr/bin/python3 "$here/e2e_orca.py" "$KELVANE" "$WORK" \
    >"$WORK/checks.log" 2>"$WORK/session.log" &
session=$!
status=0
wait "$session" || status=$?
cat "$WORK/checks.log"
[ "$status" -eq 0 ] || [ "$status" -eq 77 ] || echo "FAILED - the checks ended with status $status"
exit "$status"
