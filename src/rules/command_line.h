// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>
#include <string>

namespace kelvane {

// What the gauge prints for its command line before anything else happens: the usage for
// --help, the version for --version (whichever comes first), nothing otherwise. Every other
// argument is ignored, so that a stray word from a launcher never keeps the gauge from
// starting.
std::optional<std::string> CommandLineReply(int argc, const char* const* argv);

}  // namespace kelvane
