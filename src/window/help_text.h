// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>

namespace kelvane {

// The quick help, lines separated by CR LF, opening with a single line feed.
QString HelpText();

}  // namespace kelvane
