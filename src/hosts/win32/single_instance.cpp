// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "hosts/win32/single_instance.h"

#include <sddl.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace kelvane {
namespace {

// Marks the gauge's call among other programs' WM_COPYDATA.
constexpr ULONG_PTR kComeBack = 0x4b4c5631;  // "KLV1"

std::wstring UserSid() {
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return L"unknown";
    }
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    std::wstring sid = L"unknown";
    wchar_t* text = nullptr;
    if (size != 0 && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
        ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &text)) {
        sid = text;
        ::LocalFree(text);
    }
    ::CloseHandle(token);
    return sid;
}

}  // namespace

SingleInstance::SingleInstance(const std::wstring& store) : answer_(UserSid() + L"|" + store) {}

SingleInstance::~SingleInstance() {
    if (held_) {
        ::ReleaseMutex(mutex_);
    }
    if (mutex_ != nullptr) {
        ::CloseHandle(mutex_);
    }
}

bool SingleInstance::TryAcquire() {
    // A kernel object's name may hold no backslash past its namespace.
    std::wstring name = L"Local\\Kelvane-" + answer_;
    std::replace(name.begin() + 6, name.end(), L'\\', L'/');
    mutex_ = ::CreateMutexW(nullptr, FALSE, name.c_str());
    if (mutex_ == nullptr) {
        return false;  // taken by another user's object of that name: not ours to run beside
    }
    const DWORD waited = ::WaitForSingleObject(mutex_, 0);
    held_ = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    return held_;
}

bool SingleInstance::CallRunning() const {
    COPYDATASTRUCT data{};
    data.dwData = kComeBack;
    data.cbData = static_cast<DWORD>(answer_.size() * sizeof(wchar_t));
    data.lpData = const_cast<wchar_t*>(answer_.data());
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    do {
        for (HWND window = ::FindWindowExW(nullptr, nullptr, kGaugeWindowClass, nullptr);
             window != nullptr;
             window = ::FindWindowExW(nullptr, window, kGaugeWindowClass, nullptr)) {
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            // The running gauge may take the foreground: it comes back in front.
            ::AllowSetForegroundWindow(process);
            DWORD_PTR answered = FALSE;
            if (::SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                      SMTO_ABORTIFHUNG | SMTO_BLOCK, 2000, &answered) != 0 &&
                answered == TRUE) {
                return true;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < deadline);
    return false;
}

bool IsComeBackCall(const COPYDATASTRUCT& data, const std::wstring& answer) {
    return data.dwData == kComeBack && data.cbData == answer.size() * sizeof(wchar_t) &&
           data.lpData != nullptr &&
           std::equal(answer.begin(), answer.end(), static_cast<const wchar_t*>(data.lpData));
}

}  // namespace kelvane
