# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# shellcheck shell=sh
# A private X display with a window manager, for running the gauge where there is no screen
# or where a test must not touch the user's. Source it, then:
#   start_virtual_display DIR [WIDTHxHEIGHTxDEPTH]   sets DISPLAY, $xserver and $wm
#   stop_virtual_display                             ends the window manager and the server
#   wait_gauge_window                                sets $window to the gauge's window id

start_virtual_display() {
    # Another Xvfb starting at the same moment can take the display number: try again.
    xserver=""
    for _ in 1 2 3; do
        rm -f "$1/display"
        Xvfb -displayfd 3 -screen 0 "${2:-1024x768x24}" -nolisten tcp 3>"$1/display" \
            >/dev/null 2>&1 &
        xserver=$!
        for _ in $(seq 400); do [ -s "$1/display" ] && break; sleep 0.05; done
        if [ -s "$1/display" ] && kill -0 "$xserver" 2>/dev/null; then
            break
        fi
        kill "$xserver" 2>/dev/null || true
        xserver=""
    done
    [ -n "$xserver" ] || { echo "Xvfb did not start" >&2; return 1; }
    DISPLAY=":$(cat "$1/display")"
    export DISPLAY
    openbox --sm-disable >/dev/null 2>&1 &
    wm=$!
    # openbox announces itself before its event loop runs, and a window mapped in between stays
    # unmanaged, unmapped, until some later event reaches openbox: it is asked for one desktop
    # until it has done so, which only its event loop does.
    for _ in $(seq 300); do
        xdotool set_num_desktops 1 2>/dev/null &&
            xprop -root _NET_NUMBER_OF_DESKTOPS 2>/dev/null | grep -q '= 1$' && break
        sleep 0.05
    done
}

stop_virtual_display() {
    # shellcheck disable=SC2086 # a process not started is no argument, not an empty one
    kill ${wm:-} ${xserver:-} 2>/dev/null || true
    # shellcheck disable=SC2086 # as above
    wait ${wm:-} ${xserver:-} 2>/dev/null || true
    wm="" xserver=""
}

wait_gauge_window() {
    window=""
    for _ in $(seq 300); do
        window="$(xdotool search --onlyvisible --name '^Dorvane$' 2>/dev/null | head -n 1)" || true
        [ -n "$window" ] && return 0
        sleep 0.1
    done
    echo "no gauge window appeared" >&2
    return 1
}
