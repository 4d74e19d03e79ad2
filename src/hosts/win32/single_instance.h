// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <windows.h>

#include <string>

namespace kelvane {

// The gauge's main window class, by which a later start finds it.
inline constexpr wchar_t kGaugeWindowClass[] = L"KelvaneGauge";

// One gauge per user and settings store: a named mutex in the session's namespace, whose name
// holds the user's SID and the store, and a call that a later start sends the running gauge's
// window (WM_COPYDATA), which only a gauge of the same user and store answers.
class SingleInstance {
  public:
    // `store` names the settings store (the registry key under HKEY_CURRENT_USER).
    explicit SingleInstance(const std::wstring& store);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this start is the one gauge, holding the mutex until it ends (also when the
    // gauge that held it ended without letting it go).
    bool TryAcquire();
    // Asks the running gauge to come back onto a screen, in front, and says whether it answered.
    // Two starts at once (at sign-in) may find the mutex taken before the other has its window:
    // the call is tried for a few seconds.
    bool CallRunning() const;
    // What the running gauge's window expects in a call.
    const std::wstring& Answer() const { return answer_; }

  private:
    std::wstring answer_;
    HANDLE mutex_ = nullptr;
    bool held_ = false;
};

// Whether a WM_COPYDATA is a later start's call to a gauge that expects `answer`.
bool IsComeBackCall(const COPYDATASTRUCT& data, const std::wstring& answer);

}  // namespace kelvane
