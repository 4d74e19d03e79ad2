# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT

# The Debian package: cpack -G DEB in a build folder (tools/make-deb.sh does all the steps).
# Its dependencies are read from the binary by dpkg-shlibdeps, so they name exactly the Qt 6
# runtime libraries it links and what those need.

set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VENDOR Kelvane)
# Debian wants a name and an address: the one the project's commits are made with. A cache
# entry of its own, so that a build folder's old CPACK_PACKAGE_CONTACT (a bare name) is not kept.
set(KELVANE_PACKAGE_MAINTAINER
    "Kelvane developers <maintainers@users.noreply.c-seed-ea5ee26b.example>"
    CACHE STRING "The package's Maintainer field: name <address>")
set(CPACK_PACKAGE_CONTACT "${KELVANE_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small always-on-top gauge of RAM and disk usage")
# Lines of at most 80 characters, as dpkg shows them in a terminal.
set(CPACK_PACKAGE_DESCRIPTION
    "Kelvane shows in real time how much RAM and disk space is in use, in one\n\
borderless window 136 pixels wide that stays above the other windows. Up to\n\
eight stacked panels each show one reading (used or free RAM in percent, KB or\n\
MB, total RAM, or a drive's used space) as a 27-segment green-to-red LED bar\n\
and a number.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
