// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The settings in the registry, under a scratch key of the test's own that is deleted after.

#define DOCTEST_CONFIG_IMPLEMENT_WITH_MAIN
#include <doctest/doctest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/windows/platform_windows.h"

using namespace kelvane;

namespace {

struct ScratchKey {
    std::wstring path = L"Software\\Kelvane-test-" + std::to_wstring(::GetCurrentProcessId());
    ~ScratchKey() { ::RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str()); }
};

// What is said on stderr while `run` runs (a few lines at most: the pipe holds them).
template <typename Run>
std::string Stderr(Run run) {
    HANDLE reader = nullptr;
    HANDLE writer = nullptr;
    REQUIRE(::CreatePipe(&reader, &writer, nullptr, 1 << 16));
    const HANDLE before = ::GetStdHandle(STD_ERROR_HANDLE);
    ::SetStdHandle(STD_ERROR_HANDLE, writer);
    run();
    ::SetStdHandle(STD_ERROR_HANDLE, before);
    ::CloseHandle(writer);
    std::string said(1 << 16, '\0');
    DWORD n = 0;
    ::ReadFile(reader, said.data(), static_cast<DWORD>(said.size()), &n, nullptr);
    ::CloseHandle(reader);
    return said.substr(0, n);
}

}  // namespace

// An unreadable value comes as no text, which the gauge counts as 0, as it does a file's value
// that is no number; a missing one takes its default.
TEST_CASE("a value the gauge did not write reads as unreadable, and reading creates no key") {
    struct Row {
        std::string behaviour;
        DWORD type;
        std::wstring text;
    };
    const DWORD number = 1200;
    const std::vector<Row> rows = {
        {"a number of the registry's own type", REG_DWORD, {}},
        {"an empty string", REG_SZ, L""},
        {"a string far longer than a setting", REG_SZ, std::wstring(65, L'7')},
        {"a string with variables to expand", REG_EXPAND_SZ, L"%USERPROFILE%"},
        {"no value at all", REG_NONE, {}},
    };
    for (const Row& row : rows) {
        INFO(row.behaviour);
        ScratchKey scratch;
        const std::wstring section = scratch.path + L"\\StartUp";
        auto store = MakeRegistrySettingsStore(scratch.path);
        CHECK_FALSE(store->Read("StartUp", "Left"));
        HKEY key = nullptr;
        CHECK(::RegOpenKeyExW(HKEY_CURRENT_USER, section.c_str(), 0, KEY_READ, &key) ==
              ERROR_FILE_NOT_FOUND);
        const bool text = row.type != REG_DWORD;
        if (row.type != REG_NONE) {
            REQUIRE(
                ::RegSetKeyValueW(HKEY_CURRENT_USER, section.c_str(), L"Left", row.type,
                                  text ? static_cast<const void*>(row.text.c_str()) : &number,
                                  text ? static_cast<DWORD>((row.text.size() + 1) * sizeof(wchar_t))
                                       : sizeof number) == ERROR_SUCCESS);
        }
        const std::optional<std::string> read = store->Read("StartUp", "Left");
        if (row.type == REG_NONE) {
            CHECK_FALSE(read);
        } else {
            CHECK(read == std::string());
        }
    }
}

TEST_CASE("saved values are strings that a new store reads back as they were written") {
    ScratchKey scratch;
    const std::string longest(64, '9');
    const std::string unicode =
        "Gr\xC3\xB6\xC3\x9F"
        "e \xE2\x82\xAC \xF0\x9F\x98\x80";  // Größe € 😀
    {
        auto store = MakeRegistrySettingsStore(scratch.path);
        store->Write("Forms", "Section_8", "3");
        store->Write("Forms", "Section_8", longest);  // the last value written wins
        store->Write("StartUp", "Top", unicode);
        store->Commit();
        CHECK(store->Flush());
    }
    wchar_t raw[64] = {};
    DWORD size = sizeof raw;
    DWORD type = 0;
    REQUIRE(::RegGetValueW(HKEY_CURRENT_USER, (scratch.path + L"\\StartUp").c_str(), L"Top",
                           RRF_RT_ANY, &type, raw, &size) == ERROR_SUCCESS);
    CHECK(type == REG_SZ);
    CHECK(std::wstring(raw) == L"Gr\u00F6\u00DFe \u20AC \U0001F600");
    auto reader = MakeRegistrySettingsStore(scratch.path);
    CHECK(reader->Read("StartUp", "Top") == unicode);
    CHECK(reader->Read("Forms", "Section_8") == longest);
}

// A key under a volatile one cannot be made to last, as one an administrator locked cannot be
// written: every save fails, and says so once.
TEST_CASE("a key that cannot be written fails each save and says so once") {
    ScratchKey scratch;
    HKEY key = nullptr;
    REQUIRE(::RegCreateKeyExW(HKEY_CURRENT_USER, scratch.path.c_str(), 0, nullptr,
                              REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &key,
                              nullptr) == ERROR_SUCCESS);
    ::RegCloseKey(key);
    auto store = MakeRegistrySettingsStore(scratch.path + L"\\Store");
    const std::string said = Stderr([&] {
        for (const char* left : {"100", "200"}) {
            store->Write("StartUp", "Left", left);
            store->Commit();
            CHECK_FALSE(store->Flush());
        }
    });
    CHECK(said.find("Kelvane-test-" + std::to_string(::GetCurrentProcessId()) +
                    "\\Store\\StartUp") != std::string::npos);
    CHECK(said.find('\n') == said.size() - 1);
}
