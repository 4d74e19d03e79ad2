// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <string>

namespace kelvane {

// The quick help, lines separated by CR LF, opening with a single line feed. In the table of
// keys a tab stands between a key and its action, and before each further action of a key.
std::string HelpText();

}  // namespace kelvane
