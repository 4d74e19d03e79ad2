// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "rules/presets.h"

#include <array>

namespace kelvane {
namespace {

// The number places are per arrangement, not per reading: each value is applied as it is.
constexpr PresetPanel kF2[] = {{kUsedRamPercent, {1460, 500}}};
constexpr PresetPanel kF3[] = {{kFreeRamPercent, {1460, 500}}};
constexpr PresetPanel kF4[] = {{kUsedRamPercent, {1460, 500}}, {kFreeRamPercent, {1460, 530}}};
constexpr PresetPanel kF5[] = {
    {kUsedRamPercent, {1460, 500}}, {kFreeRamPercent, {1460, 530}}, {kTotalRam, {1120, 900}}};
constexpr PresetPanel kF6[] = {
    {kUsedRamKb, {1150, 830}}, {kFreeRamKb, {1080, 900}}, {kTotalRam, {1120, 900}}};
constexpr PresetPanel kF7[] = {
    {kUsedRamMb, {1180, 830}}, {kFreeRamMb, {1110, 830}}, {kTotalRam, {1120, 900}}};
constexpr PresetPanel kF8[] = {{kUsedRamPercent, {1460, 500}},
                               {kUsedRamKb, {1150, 830}},
                               {kFreeRamPercent, {1400, 530}},
                               {kFreeRamKb, {1080, 900}},
                               {kTotalRam, {1120, 900}}};
constexpr PresetPanel kF9[] = {{kUsedRamPercent, {1460, 500}},
                               {kUsedRamMb, {1180, 830}},
                               {kFreeRamPercent, {1400, 530}},
                               {kFreeRamMb, {1110, 900}},
                               {kTotalRam, {1120, 900}}};
constexpr PresetPanel kF10[] = {{kUsedRamPercent, {1460, 500}}, {kUsedRamKb, {1180, 830}},
                                {kUsedRamMb, {1180, 830}},      {kFreeRamPercent, {1400, 530}},
                                {kFreeRamKb, {1120, 900}},      {kFreeRamMb, {1120, 900}},
                                {kTotalRam, {1120, 900}}};
constexpr PresetPanel kF11[] = {{kUsedRamPercent, {1460, 500}}, {kUsedRamKb, {1180, 830}},
                                {kUsedRamMb, {1180, 830}},      {kFreeRamPercent, {1400, 530}},
                                {kFreeRamKb, {1120, 900}},      {kFreeRamMb, {1120, 900}},
                                {kTotalRam, {1120, 900}},       {kFirstDrive, {1070, 900}}};

constexpr std::array<Preset, 10> kPresets = {{
    {1, kF2},
    {1, kF3},
    {5, kF4},
    {2, kF5},
    {2, kF6},
    {2, kF7},
    {3, kF8},
    {3, kF9},
    {6, kF10},
    {4, kF11},
}};

}  // namespace

// Panels of one reading in a row share its words: "used RAM %, KB and MB".
std::string KeyUsage(FunctionKey key) {
    if (key == kHelpKey) {
        return "quick help";
    }
    if (key == kDrivesKey) {
        return "every drive found, up to 8";
    }
    const Preset* preset = PresetForKey(key);
    std::string text;
    std::string_view reading;
    for (std::size_t i = 0; preset != nullptr && i < preset->panels.size(); ++i) {
        const SectionKind code = preset->panels[i].section;
        const KindWords& kind = WordsOf(code);
        const bool more = i + 1 < preset->panels.size() &&
                          WordsOf(preset->panels[i + 1].section).reading == kind.reading;
        if (IsDriveKind(code)) {
            text.append(text.empty() ? "" : ", ").append("drive ").push_back(DriveLetter(code));
            text.push_back(':');
            reading = {};
            continue;
        }
        if (kind.reading != reading) {
            reading = kind.reading;
            text.append(text.empty() ? "" : ", ");
            text.push_back(static_cast<char>(kind.reading[0] - 'A' + 'a'));
            text.append(kind.reading.substr(1)).append(" ");
        } else {
            text.append(more ? ", " : " and ");
        }
        text.append(kind.unit == "percent" ? "%" : kind.unit);
    }
    return text;
}

const Preset* PresetForKey(FunctionKey key) {
    const int index = Number(key) - 2;
    if (index < 0 || index >= static_cast<int>(kPresets.size())) {
        return nullptr;
    }
    return &kPresets[static_cast<std::size_t>(index)];
}

}  // namespace kelvane
