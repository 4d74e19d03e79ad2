# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# shellcheck shell=sh

# Installs the Debian packages the steps need, when they are missing, in one apt-get run.
# Usage: . tools/deps.sh; ensure_packages build|test|headless|package|checks|wayland|bench|lint...

kelvane_packages() {
    case "$1" in
        # libwayland-dev, wayland-protocols, libxkbcommon-dev: the main window as a Wayland layer
        # surface.
        build) echo "cmake ninja-build g++ pkg-config qt6-base-dev libgl-dev libxcb1-dev fonts-dejavu-core" \
            "libwayland-dev wayland-protocols libxkbcommon-dev" ;;
        # at-spi2-core and python3-pyatspi: the gauge as a screen reader sees it; Orca, with
        # speech-dispatcher and a GTK window to type in beside it, as one speaks it.
        test) echo "doctest-dev xvfb openbox xdotool x11-utils desktop-file-utils appstream groff-base" \
            "dpkg-dev file lintian at-spi2-core python3-pyatspi dbus-daemon" \
            "orca speech-dispatcher python3-speechd gir1.2-gtk-3.0 libatk-adaptor" ;;
        headless) echo "xvfb openbox x11-utils xdotool imagemagick" ;;
        package) echo "dpkg-dev file lintian" ;;
        checks) echo "valgrind clang libclang-rt-14-dev" ;;
        # Headless Wayland compositors with XWayland for the desktop-session tests, and Qt's
        # Wayland platform for the gauge run as a native client; grim's screenshots, wtype's
        # keys and ImageMagick's reading of them for the gauge as a layer surface on sway.
        wayland) echo "mutter kwin-wayland sway xwayland qt6-wayland grim wtype imagemagick" ;;
        # The benchmarks: callgrind, and the tracers of bench/run.sh trace.
        bench) echo "valgrind strace xtrace linux-perf" ;;
        # tools/lint.sh. Each clang-format version lays code out a little differently: the
        # sources are laid out as Debian's does.
        lint) echo "clang-format shellcheck" ;;
        # kelvane.exe: cross-built by mingw-w64, run and tested under Wine (its FUSE test needs
        # fuse3), packaged by NSIS; its desktop test uses the headless group's display and
        # ImageMagick to read the window's pixels.
        windows) echo "g++-mingw-w64-x86-64-posix wine wine64 doctest-dev fuse3 libfuse3-dev nsis" \
            "zip xvfb openbox x11-utils xdotool imagemagick" ;;
    esac
}

ensure_packages() {
    missing=""
    for package in $(for group in "$@"; do kelvane_packages "$group"; done); do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing="$missing $package"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
    $sudo apt-get update -qq
    # shellcheck disable=SC2086 # one argument for each package
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}
