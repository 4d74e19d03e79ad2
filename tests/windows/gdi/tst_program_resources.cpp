// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// What kelvane.exe carries besides its pictures, read as Windows reads it from a program built
// with the same resources.

#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

std::wstring Wide(const std::string& text) {
    return {text.begin(), text.end()};
}

}  // namespace

TEST_CASE("the program's version, as Explorer shows it, is the project's") {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::vector<BYTE> info(GetFileVersionInfoSizeW(path, nullptr));
    REQUIRE(!info.empty());
    REQUIRE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(info.size()), info.data()));
    void* text = nullptr;
    UINT length = 0;
    REQUIRE(
        VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\ProductVersion", &text, &length));
    CHECK(std::wstring(static_cast<const wchar_t*>(text)) == Wide(KELVANE_VERSION));
    VS_FIXEDFILEINFO* numbers = nullptr;
    REQUIRE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&numbers), &length));
    const std::string dotted = std::to_string(HIWORD(numbers->dwFileVersionMS)) + "." +
                               std::to_string(LOWORD(numbers->dwFileVersionMS)) + "." +
                               std::to_string(HIWORD(numbers->dwFileVersionLS));
    CHECK(dotted == std::string(KELVANE_VERSION).substr(0, dotted.size()));
}

// The manifest read: the model's texts are UTF-8, and so is what the narrow calls take.
TEST_CASE("the program takes and gives UTF-8 through the system's narrow calls") {
    CHECK(GetACP() == CP_UTF8);
}
