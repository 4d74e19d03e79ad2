// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// Windows behind the gauge's interfaces (core/system.h). Standard types only here, so that
// whoever makes the gauge needs no Windows header for it.

#include <memory>
#include <string>

#include "core/system.h"

namespace kelvane {

std::unique_ptr<MemoryStatusSource> MakeSystemMemoryStatus();
std::unique_ptr<Clock> MakeSystemClock();

// The settings under HKEY_CURRENT_USER\`key`, one subkey per section, every value a string.
// A value of another type, an empty one, or one far longer than any setting reads as missing.
// A save runs on a thread of the store's own; the first that fails is said once, on stderr
// where there is one and to the debugger (DebugView shows it).
std::unique_ptr<SettingsStore> MakeRegistrySettingsStore(std::wstring key = L"Software\\Kelvane");

}  // namespace kelvane
