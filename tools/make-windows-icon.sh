#!/bin/sh
# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Makes the Windows program's icon (src/hosts/win32/resources/kelvane.ico) from the installable
# icons that tools/make-pictures.sh draws (data/icons/hicolor), one image for each size Windows
# asks for at 100 % to 200 % and in Explorer's views. Needs ImageMagick (Debian: imagemagick).
#
#   tools/make-windows-icon.sh
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
command -v convert >/dev/null 2>&1 || {
    echo "make-windows-icon: needs ImageMagick's convert (apt-get install imagemagick)" >&2
    exit 1
}

icons=$source_dir/data/icons/hicolor
set --
for size in 16 24 32 48 64 128 256; do
    set -- "$@" "$icons/${size}x${size}/apps/kelvane.png"
done
# Each image as drawn at its size, none scaled from another; the largest kept as PNG, as
# Windows reads it, the others as bitmaps every reader of icons knows.
convert "$@" "$source_dir/src/hosts/win32/resources/kelvane.ico"
