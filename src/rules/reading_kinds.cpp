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
    {"URP",
     {1400, 530},
     {1460, 500},
     G2R,
     false,
     CaptionRule::kUsedPercent,
     kUsed,
     {"Used RAM", "percent"}},
    {"URK", {1080, 900}, {1150, 830}, G2R, false, CaptionRule::kUsedKb, kUsed, {"Used RAM", "KB"}},
    {"URM", {1110, 900}, {1180, 830}, G2R, false, CaptionRule::kUsedMb, kUsed, {"Used RAM", "MB"}},
    {"FRP",
     {1400, 530},
     {1400, 530},
     R2G,
     true,
     CaptionRule::kFreePercent,
     kFree,
     {"Free RAM", "percent"}},
    {"FRK", {1150, 830}, {1080, 900}, R2G, true, CaptionRule::kFreeKb, kFree, {"Free RAM", "KB"}},
    {"FRM", {1180, 830}, {1110, 900}, R2G, true, CaptionRule::kFreeMb, kFree, {"Free RAM", "MB"}},
    {"TRK",
     {1120, 900},
     {1120, 900},
     R2G,
     true,
     CaptionRule::kTotalMb,
     "Total physical memory",
     {"Total RAM", "MB"}},
    {"UD",
     {1070, 900},
     {1070, 900},
     G2R,
     true,
     CaptionRule::kDrivePercent,
     {},
     {"Used drive", "percent"}},
}};

}  // namespace

const ReadingKind& KindAt(int title) {
    return kKinds[static_cast<std::size_t>(title)];
}

}  // namespace kelvane
