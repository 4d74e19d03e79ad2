#!/bin/sh
# The command line: --help and --version print and end before anything else (no display
# needed, and a running gauge does not stop them); any other argument is ignored.
# Usage: e2e_command_line.sh KELVANE VERSION

. "$(dirname "$0")/e2e_lib.sh"
VERSION="$2"

unset DISPLAY
check "--version prints the version without a display" \
    sh -c "[ \"\$('$KELVANE' --version)\" = 'kelvane $VERSION' ]"
help="$("$KELVANE" --help)" || true
mentions_every_key() {
    for key in F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12; do
        printf '%s\n' "$help" | grep -q "^  $key " || { echo "--help leaves out $key"; return 1; }
    done
}
check "--help mentions every key" mentions_every_key
check "--help names the settings file" sh -c "printf '%s' \"\$1\" | grep -q Kelvane/Kelvane.conf" \
    - "$help"

start_display 1024x768x24
start_gauge --no-such-option -platform nowhere stray
check "the gauge starts with unknown options" wait_window
check "--version still prints while a gauge runs" \
    sh -c "[ \"\$('$KELVANE' --version)\" = 'kelvane $VERSION' ]"
check "the gauge still runs" kill -0 "$gauge"
finish
