// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string_view>

namespace kelvane {

// A GUI program has no console of its own. What it prints goes to the one it was started from,
// if any, or to where its output was redirected.
void PrintOut(std::string_view utf8);
// A failure the user would care about, said without interrupting them: on that console's error
// output, and to a debugger (DebugView shows it).
void SayToUser(std::string_view utf8);

}  // namespace kelvane
