#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# The setup program as a user runs it, silently, under Wine: it installs for this user alone
# (the program, its uninstaller, a Start-menu shortcut, an entry in the installed programs) and
# starts the gauge at sign-in only when asked; an upgrade closes the running gauge; the
# uninstaller closes it too, removes what was installed and keeps the user's settings.
# Usage: e2e_installer.sh CPACK CPACK_CONFIG WINE64 PREFIX
set -eu
# shellcheck source=tests/check_lib.sh
. "$(dirname "$0")/../check_lib.sh"
# shellcheck source=tools/virtual_display.sh
. "$(dirname "$0")/../../tools/virtual_display.sh"
WINE="$3"
export WINEPREFIX="$4" WINEDEBUG=-all
WORK="$(mktemp -d)"
cleanup() {
    wineserver -k 2>/dev/null || true
    stop_virtual_display
    rm -rf "$WORK"
}
trap cleanup EXIT
"$1" -G NSIS --config "$2" -B "$WORK/packages" >"$WORK/cpack.log" 2>&1 ||
    { cat "$WORK/cpack.log"; exit 1; }
SETUP="$(find "$WORK/packages" -maxdepth 1 -name 'kelvane-*-setup.exe')"
start_virtual_display "$WORK"
rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
wineserver -p </dev/null >/dev/null 2>&1
"$WINE" wineboot --init </dev/null >/dev/null 2>&1

user_dir="$WINEPREFIX/drive_c/users/$(id -un)"
folder="$user_dir/AppData/Local/Programs/Kelvane"
shortcut="$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Kelvane.lnk"
UNINSTALL='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kelvane'
RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
eventually() { for _ in $(seq 300); do "$@" 2>/dev/null && return 0; sleep 0.1; done; return 1; }
# The value as the registry holds it, or nothing.
stored() {
    "$WINE" reg query "$1" /v "$2" </dev/null 2>/dev/null | tr -d '\r' |
        awk -v name="$2" '$1 == name {sub(/^[^ ]+ +[^ ]+ +/, ""); print}'
}
holds() { [ -n "$(stored "$1" "$2")" ]; }
lacks() { [ -z "$(stored "$1" "$2")" ]; }
installed() { [ -f "$folder/kelvane.exe" ] && [ -f "$folder/Uninstall.exe" ]; }
removed() { [ ! -e "$folder" ] && [ ! -e "$shortcut" ]; }
setup() { "$WINE" "$SETUP" /S "$@" </dev/null >/dev/null 2>&1; }

setup
check "a silent setup installs the program and its uninstaller in the user's programs" installed
check "with a Start-menu shortcut" test -f "$shortcut"
check "and an entry in the installed programs" holds "$UNINSTALL" UninstallString
check "that names the version" holds "$UNINSTALL" DisplayVersion
check "and the publisher" holds "$UNINSTALL" Publisher
check "Kelvane starts at sign-in only when asked" lacks "$RUN" Kelvane

# The gauge runs, with settings of the user's, while the setup upgrades it.
"$WINE" reg add 'HKCU\Software\Kelvane\Forms' /v Panels /t REG_SZ /d 1 /f </dev/null >/dev/null 2>&1
"$WINE" "$folder/kelvane.exe" </dev/null >/dev/null 2>&1 &
gauge=$!
wait_gauge_window
setup /AUTOSTART
check "an upgrade asked for it starts Kelvane at sign-in" holds "$RUN" Kelvane
runs() { kill -0 "$gauge" 2>/dev/null; }
closed() { ! runs; }
check "an upgrade closes the running gauge first" eventually closed
check "an upgrade keeps the program where it was" installed
check "and starts the gauge it closed again" wait_gauge_window

# The uninstaller runs a copy of itself and ends at once: what it does is waited for.
"$WINE" "$folder/Uninstall.exe" /S </dev/null >/dev/null 2>&1
no_gauge() { ! pgrep -f -i 'kelvane\.exe' >/dev/null; }
check "the uninstaller closes the running gauge" eventually no_gauge
check "and removes the program and its shortcut" eventually removed
check "and the entry in the installed programs" eventually lacks "$UNINSTALL" UninstallString
check "and the start at sign-in" lacks "$RUN" Kelvane
check "and keeps the user's settings" holds 'HKCU\Software\Kelvane\Forms' Panels
finish
