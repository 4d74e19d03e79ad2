# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# The Wayland client and cursor libraries, the keyboard's XKB library, and the protocol code that
# wayland-scanner makes from a protocol's description at build time.
find_package(PkgConfig REQUIRED)
pkg_check_modules(WaylandClient REQUIRED IMPORTED_TARGET wayland-client wayland-cursor)
pkg_check_modules(XkbCommon REQUIRED IMPORTED_TARGET xkbcommon)
pkg_get_variable(WAYLAND_SCANNER wayland-scanner wayland_scanner)
pkg_get_variable(WAYLAND_PROTOCOLS_DIR wayland-protocols pkgdatadir)
if(NOT WAYLAND_SCANNER OR NOT WAYLAND_PROTOCOLS_DIR)
    message(FATAL_ERROR "wayland-scanner and wayland-protocols are needed (libwayland-dev, wayland-protocols)")
endif()

# Adds the client header and the code of the protocol described in `xml` to `target`.
function(kelvane_wayland_protocol target xml)
    get_filename_component(name "${xml}" NAME_WE)
    set(dir "${CMAKE_CURRENT_BINARY_DIR}/protocols")
    add_custom_command(OUTPUT "${dir}/${name}-client-protocol.h" "${dir}/${name}-protocol.c"
        COMMAND ${CMAKE_COMMAND} -E make_directory "${dir}"
        COMMAND "${WAYLAND_SCANNER}" client-header "${xml}" "${dir}/${name}-client-protocol.h"
        COMMAND "${WAYLAND_SCANNER}" private-code "${xml}" "${dir}/${name}-protocol.c"
        DEPENDS "${xml}" VERBATIM)
    target_sources(${target} PRIVATE "${dir}/${name}-client-protocol.h" "${dir}/${name}-protocol.c")
    target_include_directories(${target} PUBLIC "${dir}")
endfunction()
