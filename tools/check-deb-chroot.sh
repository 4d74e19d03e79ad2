#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
#
# Installs a Kelvane package on a fresh, minimal Debian 12 made with debootstrap, the way a
# user would (apt-get install ./kelvane_*.deb), and checks that the gauge starts: first on
# Qt's offscreen platform with nothing but the package's own dependencies installed, then
# on a virtual X display, where its window must appear. Needs root and Debian's mirror.
#
#   tools/check-deb-chroot.sh [PACKAGE.deb] [CHROOT_DIR]
#
# PACKAGE defaults to the one tools/make-deb.sh builds; CHROOT_DIR to a new temporary
# folder, removed at the end. An existing CHROOT_DIR is reused as it is (and kept).
set -eu
cd "$(dirname "$0")/.."
deb="${1:-$(ls build/deb/kelvane_*.deb 2>/dev/null | tail -n 1)}"
[ -f "$deb" ] || { echo "no package: build one with tools/make-deb.sh"; exit 1; }
[ "$(id -u)" -eq 0 ] || { echo "debootstrap and chroot need root"; exit 1; }
command -v debootstrap >/dev/null || {
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends debootstrap
}

# The mirror this machine's apt uses, so that the check works where only it is reachable.
mirror=$(grep -hsE '^(URIs:|deb )' /etc/apt/sources.list /etc/apt/sources.list.d/* |
    grep -v security | grep -oE 'https?://[^ ]+/debian/?' | head -n 1)
mirror="${mirror:-http://deb.debian.org/debian}"

root="${2:-}"
keep=true
if [ -z "$root" ]; then
    root=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-chroot.XXXXXX")
    keep=false
fi
cleanup() {
    umount "$root/proc" 2>/dev/null || true
    [ "$keep" = true ] || rm -rf "$root"
}
trap cleanup EXIT

if [ ! -f "$root/etc/debian_version" ]; then
    echo "Making a minimal Debian 12 in $root from $mirror"
    debootstrap --variant=minbase bookworm "$root" "$mirror" >"$root.debootstrap.log" 2>&1 ||
        { tail -n 20 "$root.debootstrap.log"; exit 1; }
    rm -f "$root.debootstrap.log"
fi
mount -t proc proc "$root/proc"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

cp "$deb" "$root/tmp/"
name=$(basename "$deb")
failures=0
check() {
    description="$1"
    shift
    if "$@"; then echo "ok - $description"; else echo "FAILED - $description"; failures=$((failures + 1)); fi
}

in_root apt-get update -qq
in_root sh -c "DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends ./tmp/$name" \
    >"$root/tmp/apt.log" 2>&1 || { tail -n 20 "$root/tmp/apt.log"; exit 1; }
echo "Installed $name; its dependencies: $(in_root dpkg-query -W -f='${Depends}' kelvane)"

check "every library the binary needs is found" \
    sh -c "! chroot '$root' ldd /usr/bin/kelvane | grep -q 'not found'"
check "kelvane --version prints the version" \
    sh -c "chroot '$root' kelvane --version | grep -Eq '^kelvane [0-9]+\.[0-9]+\.[0-9]+$'"
check "the manual page, menu entry, metainfo, icons, licence and changelog are in place" \
    in_root sh -c '
    test -f /usr/share/man/man1/kelvane.1.gz &&
    test -f /usr/share/doc/kelvane/copyright &&
    test -f /usr/share/doc/kelvane/changelog.gz &&
    test -f /usr/share/applications/org.kelvane.kelvane.desktop &&
    test -f /usr/share/metainfo/org.kelvane.kelvane.metainfo.xml &&
    test -f /usr/share/icons/hicolor/48x48/apps/kelvane.png &&
    test -f /usr/share/icons/hicolor/scalable/apps/kelvane.svg'

# Offscreen, before anything else is installed: nothing but the package's dependencies
# can have supplied a library, a plugin or a font.
starts_offscreen() {
    in_root sh -c 'mkdir -p -m 700 /tmp/run && export XDG_RUNTIME_DIR=/tmp/run
        QT_QPA_PLATFORM=offscreen kelvane >/tmp/offscreen.log 2>&1 & pid=$!
        sleep 3; kill -0 $pid || exit 1; kill $pid; wait $pid; true'
    if [ -s "$root/tmp/offscreen.log" ]; then
        sed 's/^/    /' "$root/tmp/offscreen.log"
    fi
    ! grep -Eqi 'could not|cannot|failed' "$root/tmp/offscreen.log"
}
check "the gauge starts and runs quietly with only its own dependencies" starts_offscreen

in_root sh -c "DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
    xvfb xdotool x11-apps >/dev/null 2>&1"
window_appears() {
    in_root sh -c 'mkdir -p -m 700 /tmp/run && export XDG_RUNTIME_DIR=/tmp/run
        Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>/tmp/display >/dev/null 2>&1 &
        x=$!
        for i in $(seq 50); do [ -s /tmp/display ] && break; sleep 0.1; done
        export DISPLAY=:$(cat /tmp/display)
        kelvane --no-such-option >/tmp/x11.log 2>&1 & pid=$!
        found=""
        for i in $(seq 50); do
            found=$(xdotool search --onlyvisible --name "^Dorvane$" 2>/dev/null | head -n 1)
            [ -n "$found" ] && break
            sleep 0.1
        done
        [ -n "$found" ] && sleep 1 && xwd -id "$found" -silent >/tmp/screen.xwd
        kill $pid; wait $pid; kill $x; wait $x 2>/dev/null
        [ -n "$found" ]'
}
check "on an X display the gauge window appears" window_appears
if [ -s "$root/tmp/screen.xwd" ] && command -v convert >/dev/null; then
    shot="$(dirname "$deb")/chroot-screenshot.png"
    convert "xwd:$root/tmp/screen.xwd" "$shot" && echo "The gauge as it ran there: $shot"
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "The package installs and runs on a fresh Debian 12."
