#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
#
# Installs the build into a temporary prefix and checks what a desktop and a package manager
# see: the binary, the menu entry, the metainfo, the icon theme entries, the manual page and
# the licence, with the freedesktop and AppStream validators; then builds the Debian package
# and checks it with lintian, and its contents and dependencies.
# Usage: check_install.sh BUILD_DIR

set -u
BUILD="$1"
WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
PREFIX="$WORK/usr"
APP=org.kelvane.kelvane
# shellcheck source=tests/check_lib.sh
. "$(dirname "$0")/../check_lib.sh"
# Runs a tool, showing what it said only when it fails.
quietly() { "$@" >"$WORK/log" 2>&1 || { cat "$WORK/log"; return 1; }; }

quietly cmake --install "$BUILD" --prefix "$PREFIX" || exit 1

desktop="$PREFIX/share/applications/$APP.desktop"
metainfo="$PREFIX/share/metainfo/$APP.metainfo.xml"
man="$PREFIX/share/man/man1/kelvane.1.gz"
doc="$PREFIX/share/doc/kelvane"
entry() { sed -n "s/^$1=//p" "$desktop"; }

check "the menu entry passes desktop-file-validate" desktop-file-validate "$desktop"
check "the metainfo passes appstreamcli validate-tree, which finds its menu entry" \
    quietly appstreamcli validate-tree --pedantic --no-net "$WORK"
check "the copyright file and the metainfo name the MIT licence" \
    sh -c "grep -qx 'License: MIT' '$doc/copyright' && grep -q '>MIT</project_license>' '$metainfo'"

icon="$(entry Icon)"
icon_sizes() {
    for size in 16 22 24 32 48 64 128 256; do
        png="$PREFIX/share/icons/hicolor/${size}x$size/apps/$icon.png"
        file "$png" | grep -q "PNG image data, $size x $size," ||
            { echo "not a $size x $size PNG: $png"; return 1; }
    done
}
check "the icon is in hicolor at every size from 16 to 256" icon_sizes
check "the icon is in hicolor as SVG" \
    sh -c "file '$PREFIX/share/icons/hicolor/scalable/apps/$icon.svg' | grep -q SVG"

check "the manual page formats without warnings" \
    sh -c "gzip -dc '$man' | groff -man -ww -z -Tutf8 2>&1 | tee '$WORK/groff.log' && [ ! -s '$WORK/groff.log' ]"

# The package, from the same build.
quietly cpack --config "$BUILD/CPackConfig.cmake" -B "$WORK/deb" || exit 1
deb="$(ls "$WORK"/deb/kelvane_*.deb)"
check "lintian finds no error or warning in the package" \
    quietly lintian --allow-root --fail-on error,warning "$deb"
check "the changelog's latest entry is the package's version" sh -c "gzip -dc '$doc/changelog.gz' |
    dpkg-parsechangelog -l- -SVersion | grep -Fqx '$(dpkg-deb -f "$deb" Version)'"
dpkg-deb -c "$deb" >"$WORK/contents"
check "the package installs into /usr" sh -c "grep -q ' ./usr/bin/kelvane$' '$WORK/contents' &&
    grep -q ' ./usr/share/applications/$APP.desktop$' '$WORK/contents' &&
    grep -q ' ./usr/share/man/man1/kelvane.1.gz$' '$WORK/contents'"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "# Depends: $depends"
only_qt_runtime() {
    echo "$depends" | grep -q 'libqt6widgets6' || { echo "no libqt6widgets6"; return 1; }
    for package in $(echo "$depends" | tr ',' '\n' | sed 's/(.*)//; s/|.*//'); do
        case "$package" in
            libqt6core6 | libqt6gui6 | libqt6widgets6 | libxcb1 | libwayland-client0 | \
                libwayland-cursor0 | libxkbcommon0 | libc6 | libgcc-s1 | libstdc++6) ;;
            *) echo "unexpected dependency: $package"; return 1 ;;
        esac
    done
}
check "the package depends on the Qt 6 runtime, libxcb, libwayland and libxkbcommon only" \
    only_qt_runtime

finish
