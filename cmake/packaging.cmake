# The Debian package: cpack -G DEB in a build folder (tools/make-deb.sh does all the steps).
# Its dependencies are read from the binary by dpkg-shlibdeps, so they name exactly the Qt 6
# runtime libraries it links and what those need.

set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VENDOR Kelvane)
set(CPACK_PACKAGE_CONTACT "Kelvane developers" CACHE STRING "The package's Maintainer field")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "small always-on-top gauge of RAM and disk usage")
set(CPACK_PACKAGE_DESCRIPTION
    "Kelvane shows in real time how much RAM and disk space is in use, in one borderless\n\
window 136 pixels wide that stays above the other windows. Up to eight stacked panels\n\
each show one reading (used or free RAM in percent, KB or MB, total RAM, or a drive's\n\
used space) as a 27-segment green-to-red LED bar and a number.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
