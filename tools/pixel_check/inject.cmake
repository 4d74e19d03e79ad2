# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
# Added to a revision's build by tools/pixel-check.sh (CMAKE_PROJECT_kelvane_INCLUDE): builds
# the capture program once every target of that revision is defined.
set(KELVANE_PIXEL_CHECK_SOURCE ${CMAKE_CURRENT_LIST_DIR}/../../tests/view/pixel_check.cpp)

function(kelvane_add_pixel_check)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    add_executable(pixel_check ${KELVANE_PIXEL_CHECK_SOURCE})
    target_include_directories(pixel_check PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    if(TARGET kelvane_host_qt)
        target_link_libraries(pixel_check PRIVATE kelvane_host_qt Qt6::Test xcb)
    elseif(TARGET kelvane_gui)
        target_link_libraries(pixel_check PRIVATE kelvane_gui Qt6::Test)
    else()
        target_link_libraries(pixel_check PRIVATE kelvane_view Qt6::Test)
    endif()
endfunction()
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR} CALL kelvane_add_pixel_check)
