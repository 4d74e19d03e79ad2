#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# The real gauge in a desktop session: openbox on Xvfb, a headless Wayland compositor through
# XWayland (mutter for GNOME, KWin for Plasma, sway with QT_QPA_PLATFORM=xcb), or sway natively
# through its layer shell. Through X it opens frameless at its stored place and size without
# asking for attention, stays above another program's window, takes F5 and F1 once clicked,
# follows a drag by its logo and pins to the right edge; SIGTERM saves where the window really
# is. sway lets no X program move a window or keep it above: through XWayland there it floats at
# its size, and saves where sway put it. Natively on sway (seen in grim's screenshots, driven by
# a virtual pointer and wtype's keys) it opens at its stored place above other windows, takes F5
# after a click, follows a drag, pins to three edges, opens the help window on F1, comes back on
# screen when the output shrinks, and saves where it is.
# Usage: e2e_session.sh openbox|mutter|kwin|sway|sway_xwayland KELVANE [VIRTUAL_POINTER] (fails,
# saying so, when a program that session uses is missing)

set -eu
here="$(cd "$(dirname "$0")" && pwd)"
compositor="$1"
case "$compositor" in
    openbox) needs="Xvfb openbox" ;;
    mutter) needs="mutter Xwayland" ;;
    kwin) needs="kwin_wayland Xwayland" ;;
    sway) needs="sway swaymsg Xwayland grim wtype convert" ;;
    *) needs="sway swaymsg Xwayland" ;;
esac
missing=""
for tool in $needs dbus-run-session xdotool xprop xwininfo xmessage; do
    command -v "$tool" >/dev/null || missing="$missing $tool"
done
[ "$compositor" = openbox ] || dpkg-query -W -f '${Status}' qt6-wayland 2>/dev/null | grep -q ' installed' ||
    missing="$missing qt6-wayland"
[ -z "$missing" ] || { echo "FAILED - missing$missing (./test.sh installs what the tests use)"; exit 1; }

# sway refuses root, and a compositor's X server lets in only the compositor's user: as root the
# whole test runs as nobody, from a copy that nobody can read.
if [ "$(id -u)" -eq 0 ]; then
    stage="$(mktemp -d)"
    trap 'rm -rf "$stage"' EXIT
    (cd "$here/../.." && tar cf - tests/check_lib.sh tests/e2e/e2e_lib.sh tests/e2e/e2e_session.sh \
        tests/e2e/e2e_session_layer_shell.sh tests/view/reference/2x/cycle-01.png \
        tools/virtual_display.sh) | tar xf - -C "$stage"
    cp "$2" "$stage/kelvane"
    [ -z "${3:-}" ] || cp "$3" "$stage/virtual_pointer"
    chmod -R a+rX "$stage"
    cd / && setpriv --reuid=nobody --regid="$(id -g nobody)" --clear-groups \
        sh "$stage/tests/e2e/e2e_session.sh" "$compositor" "$stage/kelvane" \
        ${3:+"$stage/virtual_pointer"}
    exit 0
fi
# The session's own bus, which ends with it. Without one, the gauge's D-Bus library starts a bus
# through the X display (dbus-launch), which outlives the session.
[ -n "${KELVANE_SESSION_BUS:-}" ] || exec env KELVANE_SESSION_BUS=1 dbus-run-session -- sh "$0" "$@"
shift
pointer_tool="${2:-}"
# shellcheck source=tests/e2e/e2e_lib.sh
. "$here/e2e_lib.sh"
unset DISPLAY XAUTHORITY
export HOME="$WORK"
# The clients end first, then the compositor alone, waited for: it ends its X server and removes
# the display's lock files and sockets, which mutter leaves behind when its X server ends first
# (as when the whole session was signalled at once).
cleanup() {
    # shellcheck disable=SC2086 # one argument for each pid, none for an unset one
    kill $pids ${ready:-} 2>/dev/null || true
    # shellcheck disable=SC2086 # as above
    wait $pids 2>/dev/null || true
    kill ${session:-} 2>/dev/null || true
    wait ${session:-} 2>/dev/null || true
    kill -- "-${session:-}" 2>/dev/null || true
    stop_virtual_display
    rm -rf "$WORK"
}

# The compositor runs this once its clients can connect: it leaves the environment they get.
printf '#!/bin/sh\n{ env; echo "ready=$$"; } >"%s.new" && mv "%s.new" "%s"\nexec sleep 100000\n' \
    "$WORK/env" "$WORK/env" "$WORK/env" >"$WORK/ready"
chmod +x "$WORK/ready"
case "$compositor" in
    openbox) start_virtual_display "$WORK" && set -- "$WORK/ready" ;;
    mutter) set -- mutter --wayland --headless --virtual-monitor 1024x768 -- "$WORK/ready" ;;
    kwin) # Its binary carries a file capability that a container may refuse; a copy has none.
        cp "$(command -v kwin_wayland)" "$WORK/kwin_wayland"
        set -- "$WORK/kwin_wayland" --virtual --xwayland --width 1024 --height 768 --no-lockscreen "$WORK/ready" ;;
    # The pointer hides when still (it would show in the screenshots), though not before a
    # tooltip shows.
    sway*) printf 'output * mode 1024x768\nseat * hide_cursor 1500\nexec %s\n' "$WORK/ready" >"$WORK/sway.conf"
        set -- env WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$WORK/sway.conf" ;;
esac
setsid "$@" >"$WORK/compositor.log" 2>&1 &
session=$!

eventually test -s "$WORK/env" || { cat "$WORK/compositor.log"; echo "FAILED - $compositor did not start"; exit 1; }
eval "$(sed -n "s/^\(DISPLAY\|XAUTHORITY\|WAYLAND_DISPLAY\|SWAYSOCK\|ready\)=\(.*\)/export \1='\2'/p" "$WORK/env")"
eventually sh -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
mkdir -p "$(dirname "$SETTINGS")"
printf '[StartUp]\nLeft=1500\nTop=1500\n' >"$SETTINGS"
# shellcheck source=tests/e2e/e2e_session_layer_shell.sh
[ "$compositor" != sway ] || . "$here/e2e_session_layer_shell.sh"
# The X11 path, which QT_QPA_PLATFORM=xcb chooses where the compositor offers a layer shell too.
[ "$compositor" != sway_xwayland ] || { export QT_QPA_PLATFORM=xcb; compositor=sway; }
at() { [ "$(geometry_of "$window")" = "$1" ]; }
sized() { [ "$(geometry_of "$window" | cut -d ' ' -f 3-)" = "$1" ]; }
# The window and its ancestor just below the root (what the compositor wraps it in) coincide.
unframed() {
    top="$(printf '0x%x' "$window")" root="$(xwininfo -root | awk '/Window id/ {print $4}')"
    while parent="$(xwininfo -children -id "$top" | awk '/Parent window id/ {print $4}')" &&
        [ "$parent" != "$root" ]; do top="$parent"; done
    [ "$(geometry_of "$top")" = "$(geometry_of "$window")" ]
}
# The window that has the keyboard, by name.
focused() { [ "$(xdotool getwindowfocus getwindowname 2>/dev/null)" = "$1" ]; }
sway_has() { swaymsg "[title=\"^$1\$\" $2] nop" >/dev/null; }
floats() { sway_has Dorvane floating && swaymsg -t get_tree | grep -q '"border": "csd"' && sized "136 248"; }
# sway keeps no window above others: it draws floating windows above tiled ones.
above() {
    focused other || return 1
    if [ "$compositor" = sway ]; then sway_has Dorvane floating && sway_has other tiling; else
        xprop -root _NET_CLIENT_LIST_STACKING | grep -q "$(printf '0x%x.*0x%x' "$other" "$window")"; fi
}
calm() { xprop -id "$window" WM_STATE | grep -q Normal && ! xprop -id "$window" _NET_WM_STATE | grep -Eq 'ATTENTION|SKIP_TASKBAR'; }
# shellcheck disable=SC2046 # x and y, as two arguments
saved_where_it_is() { saved_at $(geometry_of "$window" | cut -d ' ' -f 1-2); }

start_gauge
check "the window opens" wait_gauge_window
if [ "$compositor" = sway ]; then
    check "floats at its size with no title bar, where sway puts it" eventually floats
else
    check "opens at its stored place and size" eventually at "100 100 136 248"
    check "has no frame" unframed
fi
check "neither asks for attention nor leaves the task list" eventually calm
LC_ALL=C xmessage -geometry 300x300+50+50 -name other other &
pids="$pids $!"
other="$(eventually xdotool search --onlyvisible --name '^other$' | head -n 1)"
# The window manager focuses the new window itself, and the click waits until it has. An
# activation request from here would carry no time (xdotool's): mutter stamps such a request
# when it gets to it, which can be after the click below, and then refuses the gauge's
# activation for that click as older.
check "stays above another program's active window" eventually above

# The user clicks the window and, once it has the keyboard, presses F5. sway takes no clicks
# from XTEST for focus, so there the click is sway's own focus command.
# shellcheck disable=SC2046 # x, y, width and height become $1 to $4
set -- $(geometry_of "$window")
if [ "$compositor" = sway ]; then swaymsg '[title="^Dorvane$"] focus' >/dev/null; else
    xdotool mousemove $(($1 + 70)) $(($2 + 40)) click 1; fi
check "a click gives it the keyboard" eventually focused Dorvane
xdotool key F5
check "F5 makes it 103 pixels high" eventually sized "136 103"
# shellcheck disable=SC2046 # as above: x, y, width and height
set -- $(geometry_of "$window")
xdotool mousemove $(($1 + 46)) $(($2 + 10)) mousedown 1
for step in 1 2 3 4 5 6 7 8 9 10; do xdotool mousemove $(($1 + 46 + 10 * step)) $(($2 + 10 + 5 * step)); done
xdotool mouseup 1
if [ "$compositor" = sway ]; then
    check "a drag leaves it where sway keeps it" at "$1 $2 136 103"
else
    check "a drag by the logo moves it" eventually at "$(($1 + 100)) $(($2 + 50)) 136 103"
    # shellcheck disable=SC2046 # as above: x, y, width and height
    set -- $(geometry_of "$window")
    xdotool mousemove $(($1 + 130)) $(($2 + 8)) click 1
    check "> pins it to the right edge" eventually at "888 $2 136 103"
fi

xdotool key F1
check "F1 opens the help window, which takes the keyboard" eventually focused Help
xdotool key Escape
check "Escape closes it" eventually sh -c "! xdotool search --onlyvisible --name '^Help\$'"
check "SIGTERM saves where the window really is" saved_where_it_is
[ "$compositor" != openbox ] && [ -z "${QT_QPA_PLATFORM:-}" ] || exit 0

QT_QPA_PLATFORM=wayland start_gauge
check "asked for Wayland while XWayland is there, it uses XWayland" wait_gauge_window
kill -TERM "$gauge" && wait "$gauge" || true
printf '[StartUp]\nLeft=1515\nTop=1530\n' >"$SETTINGS"
env -u DISPLAY QT_QPA_PLATFORM=wayland WAYLAND_DEBUG=client "$KELVANE" 2>"$WORK/native.log" &
gauge=$!
pids="$pids $gauge"
check "runs as a native Wayland client without X" eventually grep -q 'xdg_surface@[0-9]*\.configure' "$WORK/native.log"
kill -TERM "$gauge" && wait "$gauge" || true
check "as a native Wayland client it keeps the stored position" \
    sh -c "grep -qx Left=1515 '$SETTINGS' && grep -qx Top=1530 '$SETTINGS'"
