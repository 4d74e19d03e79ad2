// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "platform/windows/console.h"

#include <windows.h>

#include <mutex>
#include <string>

#include "platform/windows/wide_text.h"

namespace kelvane {
namespace {

// The handle for `which` (STD_OUTPUT_HANDLE, STD_ERROR_HANDLE): the redirected one, else the
// console of the process that started the gauge, attached once.
HANDLE Output(DWORD which) {
    HANDLE handle = ::GetStdHandle(which);
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
        return handle;
    }
    static std::once_flag attached;
    static HANDLE console = INVALID_HANDLE_VALUE;
    std::call_once(attached, [] {
        if (::AttachConsole(ATTACH_PARENT_PROCESS)) {
            console = ::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                                    nullptr);
        }
    });
    return console;
}

void Write(DWORD which, std::string_view utf8) {
    const HANDLE handle = Output(which);
    if (handle == nullptr || handle == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (::GetConsoleMode(handle, &mode)) {
        const std::wstring text = Wide(utf8);
        ::WriteConsoleW(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    } else {
        ::WriteFile(handle, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    }
}

}  // namespace

void PrintOut(std::string_view utf8) {
    Write(STD_OUTPUT_HANDLE, utf8);
}

void SayToUser(std::string_view utf8) {
    ::OutputDebugStringW(Wide(utf8).c_str());
    Write(STD_ERROR_HANDLE, utf8);
}

}  // namespace kelvane
