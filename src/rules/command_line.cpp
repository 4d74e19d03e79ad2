// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/command_line.h"

#include <string_view>

#include "rules/presets.h"

namespace kelvane {
namespace {

constexpr std::string_view kUsage =
    R"(Usage: kelvane [--help | --version]

Shows how much RAM and disk space is in use, in one small always-on-top window of up to
eight panels, each a 27-segment LED bar and a number.

Keys:
@KEYS@

Mouse:
  panel title      next reading: used RAM %, KB, MB, free RAM %, KB, MB, total RAM,
                   then each drive found (C: is /)
  logo             drag to move; double-click to change the height
  bar button       height of 1, 3, 6 or 8 panels
  < > ^            pin to the left, right or top edge of the screen
  ?                quick help
  red cross        close (the settings are saved)

Settings: $XDG_CONFIG_HOME/Kelvane/Kelvane.conf (usually ~/.config/Kelvane/Kelvane.conf).

Options:
  --help     print this help and exit
  --version  print the version and exit
)";

}  // namespace

std::optional<std::string> CommandLineReply(int argc, const char* const* argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            std::string keys;
            for (int n = 1; n <= 12; ++n) {
                std::string key = "  F" + std::to_string(n);
                key.resize(12, ' ');
                keys += key + KeyUsage(FKey(n)) + "\n";
            }
            constexpr std::string_view kKeys = "@KEYS@\n";
            std::string usage(kUsage);
            return usage.replace(usage.find(kKeys), kKeys.size(), keys);
        }
        if (argument == "--version") {
            return std::string("kelvane " KELVANE_VERSION "\n");
        }
    }
    return std::nullopt;
}

}  // namespace kelvane
