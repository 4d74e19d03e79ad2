# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Read by cpack for each package it makes: each one's file name.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME "kelvane-${CPACK_PACKAGE_VERSION}-setup")
elseif(CPACK_GENERATOR STREQUAL "ZIP")
    set(CPACK_PACKAGE_FILE_NAME "kelvane-${CPACK_PACKAGE_VERSION}-windows-x64")
endif()
