// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// Windows behind the gauge's interfaces (core/system.h). Standard types only here, so that
// whoever makes the gauge needs no Windows header for it.

#include <memory>
#include <optional>
#include <string>

#include "core/system.h"

namespace kelvane {

std::unique_ptr<MemoryStatusSource> MakeSystemMemoryStatus();
// The letters C: to Z:: the one Windows runs from asked by the gauge itself, the others by
// helper processes of the gauge's own executable (see ServeDriveQuestionsIfAsked) so that a
// volume that never answers costs its own figure only.
std::unique_ptr<VolumeSource> MakeSystemVolumes();
std::unique_ptr<Clock> MakeSystemClock();
// The decimal point of the user's regional settings, as UTF-8.
std::string DecimalPoint();

// The settings under HKEY_CURRENT_USER\`key`, one subkey per section, every value a string.
// A value of another type, an empty one, or one far longer than any setting reads as missing.
// A save runs on a thread of the store's own; the first that fails is said once, on stderr
// where there is one and to the debugger (DebugView shows it).
std::unique_ptr<SettingsStore> MakeRegistrySettingsStore(std::wstring key = L"Software\\Kelvane");

// The gauge's executable is also its drive helper. Its entry point calls this before anything
// else: when the process was started as a helper, it answers the gauge's questions about
// volumes until the gauge has gone, and the result is the status to end with; otherwise it
// returns nothing at once.
std::optional<int> ServeDriveQuestionsIfAsked();

}  // namespace kelvane
