// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/reading_kinds.h"

#include <array>

namespace kelvane {
namespace {

constexpr auto G2R = ColourScheme::GreenToRed;
constexpr auto R2G = ColourScheme::RedToGreen;
constexpr std::string_view kUsed = "Used RAM = total \u2212 available memory";
constexpr std::string_view kFree = "Free RAM = available memory (what programs can still use)";

// Free RAM percent has no start-up place of its own: it takes the one a click gives it.
constexpr std::array<ReadingKind, kTitles> kKinds = {{
    {"URP", {1400, 530}, {1460, 500}, G2R, false, CaptionRule::kUsedPercent, kUsed},
    {"URK", {1080, 900}, {1150, 830}, G2R, false, CaptionRule::kUsedKb, kUsed},
    {"URM", {1110, 900}, {1180, 830}, G2R, false, CaptionRule::kUsedMb, kUsed},
    {"FRP", {1400, 530}, {1400, 530}, R2G, true, CaptionRule::kFreePercent, kFree},
    {"FRK", {1150, 830}, {1080, 900}, R2G, true, CaptionRule::kFreeKb, kFree},
    {"FRM", {1180, 830}, {1110, 900}, R2G, true, CaptionRule::kFreeMb, kFree},
    {"TRK", {1120, 900}, {1120, 900}, R2G, true, CaptionRule::kTotalMb, "Total physical memory"},
    {"UD", {1070, 900}, {1070, 900}, G2R, true, CaptionRule::kDrivePercent, {}},
}};

// By row of the table above.
constexpr std::array<KindWords, kTitles> kWords = {{
    {"Used RAM", "percent"},
    {"Used RAM", "KB"},
    {"Used RAM", "MB"},
    {"Free RAM", "percent"},
    {"Free RAM", "KB"},
    {"Free RAM", "MB"},
    {"Total RAM", "MB"},
    {"Used drive", "percent"},
}};

}  // namespace

const ReadingKind& KindAt(int title) {
    return kKinds[static_cast<std::size_t>(title)];
}

const KindWords& WordsOf(int code) {
    return kWords[static_cast<std::size_t>(TitleOf(code))];
}

}  // namespace kelvane
