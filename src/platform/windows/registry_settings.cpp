// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The settings in the registry, where a Windows user and their administrator expect a
// program's own: read when asked, written in the background, so that a busy registry never
// holds up the window.

#include <windows.h>

#include <condition_variable>
#include <cwchar>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/windows/console.h"
#include "platform/windows/platform_windows.h"
#include "platform/windows/wide_text.h"

namespace kelvane {
namespace {

// Every setting is a short decimal number; a value far longer was not written by the gauge.
constexpr std::size_t kLongestValue = 64;

struct Value {
    std::string section;
    std::string key;
    std::string value;
};

std::wstring Describe(LSTATUS error) {
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
        nullptr, static_cast<DWORD>(error), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring description(text != nullptr ? text : L"", n);
    ::LocalFree(text);
    while (!description.empty() && std::wcschr(L"\r\n. ", description.back()) != nullptr) {
        description.pop_back();
    }
    return description + (description.empty() ? L"error " : L" (error ") + std::to_wstring(error) +
           (description.empty() ? L"" : L")");
}

class RegistryStore final : public SettingsStore {
  public:
    explicit RegistryStore(std::wstring key) : key_(std::move(key)) {}

    ~RegistryStore() override {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (writer_.joinable()) {
            writer_.join();
        }
    }

    std::optional<std::string> Read(std::string_view section, std::string_view key) override {
        for (const Value& v : written_) {
            if (v.section == section && v.key == key) {
                return v.value;
            }
        }
        // A value there but of another type, too long for any setting, or no text, is one the
        // gauge cannot read, as a file's line that is no number: it counts as 0, where a
        // missing value takes its default.
        wchar_t text[kLongestValue + 1];
        DWORD size = sizeof text;
        DWORD type = REG_NONE;
        const LSTATUS status =
            ::RegGetValueW(HKEY_CURRENT_USER, Subkey(section).c_str(), Wide(key).c_str(),
                           RRF_RT_ANY | RRF_NOEXPAND, &type, text, &size);
        if (status == ERROR_FILE_NOT_FOUND) {
            return std::nullopt;
        }
        if (status != ERROR_SUCCESS || type != REG_SZ) {
            return std::string();
        }
        const std::wstring_view value(text, ::wcsnlen(text, size / sizeof(wchar_t)));
        return Utf8(value).value_or(std::string());
    }

    void Write(std::string_view section, std::string_view key, std::string_view value) override {
        for (Value& v : written_) {
            if (v.section == section && v.key == key) {
                v.value = value;
                return;
            }
        }
        written_.push_back({std::string(section), std::string(key), std::string(value)});
    }

    void Commit() override {
        std::unique_lock lock(mutex_);
        next_ = written_;  // a save not begun yet is overtaken: the last values win
        if (!writer_.joinable()) {
            try {
                writer_ = std::thread([this] { Run(); });
            } catch (const std::system_error&) {
                // Without its thread the save is made in place; the next one tries again.
                SaveNext(lock);
                return;
            }
        }
        wake_.notify_all();
    }

    bool Flush() override {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return !next_ && !saving_; });
        return saved_;
    }

  private:
    std::wstring Subkey(std::string_view section) const { return key_ + L"\\" + Wide(section); }

    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return next_ || stop_; });
            if (!next_) {
                return;
            }
            SaveNext(lock);
        }
    }

    // Saves what is handed over, with `lock` let go meanwhile.
    void SaveNext(std::unique_lock<std::mutex>& lock) {
        const std::vector<Value> values = std::move(*next_);
        next_.reset();
        saving_ = true;
        lock.unlock();
        LSTATUS error = ERROR_SUCCESS;
        std::wstring where;
        for (const Value& v : values) {
            where = Subkey(v.section);
            HKEY key = nullptr;
            error =
                ::RegCreateKeyExW(HKEY_CURRENT_USER, where.c_str(), 0, nullptr,
                                  REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key, nullptr);
            if (error != ERROR_SUCCESS) {
                break;
            }
            const std::wstring text = Wide(v.value);
            error = ::RegSetValueExW(key, Wide(v.key).c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(text.c_str()),
                                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
            ::RegCloseKey(key);
            if (error != ERROR_SUCCESS) {
                break;
            }
        }
        // Said once: settings that never last are no failure to keep quiet about, nor one to
        // repeat at every move of the window.
        if (error != ERROR_SUCCESS && !said_) {
            said_ = true;
            SayToUser(Utf8(L"kelvane: the settings could not be saved to HKEY_CURRENT_USER\\" +
                           where + L": " + Describe(error) + L"\n")
                          .value_or("kelvane: the settings could not be saved\n"));
        }
        lock.lock();
        saving_ = false;
        saved_ = error == ERROR_SUCCESS;
        done_.notify_all();
    }

    const std::wstring key_;
    std::vector<Value> written_;  // every value written in this run: each save writes them all
    bool said_ = false;           // only touched by the one saving

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::optional<std::vector<Value>> next_;
    bool saving_ = false;
    bool saved_ = true;
    bool stop_ = false;
    std::thread writer_;
};

}  // namespace

std::unique_ptr<SettingsStore> MakeRegistrySettingsStore(std::wstring key) {
    return std::make_unique<RegistryStore>(std::move(key));
}

}  // namespace kelvane
