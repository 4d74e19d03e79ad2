# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT

# kelvane.exe's packages, made by `cpack --preset windows` after the build:
#   kelvane-<version>-setup.exe          a per-user installer (NSIS, cmake/NSIS.template.in)
#   kelvane-<version>-windows-x64.zip    the same files, for those who want no installer
# Both hold the program, the licence and a readme at their top, in Windows' line ends so that
# any editor shows them as they are meant.

install(TARGETS kelvane RUNTIME DESTINATION .)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE LICENSE.txt @ONLY NEWLINE_STYLE CRLF)
configure_file(${PROJECT_SOURCE_DIR}/data/windows/README.txt README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/LICENSE.txt ${CMAKE_CURRENT_BINARY_DIR}/README.txt
        DESTINATION .)

set(CPACK_PACKAGE_NAME kelvane)
set(CPACK_PACKAGE_VENDOR "The Kelvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Kelvane, ${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Kelvane)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR NSIS ZIP)
# Each package's own file name (cpack reads this once for each generator).
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/windows_package_names.cmake)
# Unpacked with Explorer, a zip makes a folder of its own name: a second one inside is in the way.
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)

# The installer is made from this folder's NSIS.template.in, in place of CPack's own, which
# installs for all users with administrator rights.
list(APPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_NSIS_PACKAGE_NAME Kelvane)
set(CPACK_NSIS_DISPLAY_NAME Kelvane)
set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
set(KELVANE_ICON ${PROJECT_SOURCE_DIR}/src/hosts/win32/resources/kelvane.ico)
set(CPACK_NSIS_MUI_ICON ${KELVANE_ICON})
set(CPACK_NSIS_MUI_UNIICON ${KELVANE_ICON})
# Windows reads a version in four numbers.
set(CPACK_KELVANE_VERSION_FOUR
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
if(PROJECT_VERSION_TWEAK)
    set(CPACK_KELVANE_VERSION_FOUR "${PROJECT_VERSION}")
endif()
# The installer and uninstaller find a running gauge by its window class, which the program
# names once, in its own source.
file(STRINGS ${PROJECT_SOURCE_DIR}/src/hosts/win32/single_instance.h class_line
     REGEX "kGaugeWindowClass\\[\\] = L\"[A-Za-z]+\"")
string(REGEX REPLACE ".*L\"([A-Za-z]+)\".*" "\\1" CPACK_KELVANE_WINDOW_CLASS "${class_line}")
if(NOT CPACK_KELVANE_WINDOW_CLASS MATCHES "^[A-Za-z]+$")
    message(FATAL_ERROR "The gauge's window class was not found in single_instance.h")
endif()

include(CPack)
