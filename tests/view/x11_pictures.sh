#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# The main window in every state, read back from an X server of its own, against the
# reference pictures: what the gauge draws on the server's side must be the same pixels. On a
# server of fewer bits of colour, the same pixels as that server shows the pictures' colours.
#   x11_pictures.sh PIXEL_CHECK REFERENCE_DIR OUT_DIR [DEPTH [R,G,B [VISUAL_CLASS]]]
set -eu
work="$(mktemp -d)"
trap 'kill "$server" 2>/dev/null; wait "$server" 2>/dev/null; rm -rf "$work"' EXIT
depth="${4:-24}"
# Large enough for the window at ratio 2 wherever the gauge places it on its 1024 x 768.
Xvfb -displayfd 3 -screen 0 "2048x1536x$depth" ${6:+-cc "$6"} -nolisten tcp 3>"$work/display" \
    >/dev/null 2>&1 &
server=$!
for _ in $(seq 400); do [ -s "$work/display" ] && break; sleep 0.05; done
[ -s "$work/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
DISPLAY=":$(cat "$work/display")" QT_QPA_PLATFORM=xcb "$1" check "$2" "$3" ${5:+"$5"}
