// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Loading the user's settings at start and writing them back.

#include "settings/my_settings.h"

#include <limits>
#include <string>

#include "parsers/setting_number.h"
#include "rules/panels_mode.h"
#include "rules/reading_kinds.h"
#include "rules/window_layout.h"

namespace kelvane {
namespace {

constexpr std::string_view kStartUp = "StartUp";
constexpr std::string_view kForms = "Forms";
constexpr int kSectionDefaults[kPanels] = {3, 4, 5, 0, 1, 2, 6, 7};

std::string SectionKey(int panel) {
    return "Section_" + std::to_string(panel + 1);
}

// A missing key takes its default; a value that cannot be read, or is out of range, leaves
// the member as it was (0).
template <typename T>
void Load(SettingsStore& store, std::string_view section, std::string_view key, double fallback,
          std::string_view decimalPoint, T& member) {
    const std::optional<std::string> text = store.Read(section, key);
    if (!text) {
        member = static_cast<T>(RoundHalfEven(fallback));
        return;
    }
    const auto value = ParseSettingNumber(*text, std::numeric_limits<T>::min(),
                                          std::numeric_limits<T>::max(), decimalPoint);
    if (value) {
        member = static_cast<T>(*value);
    }
}

}  // namespace

SavedSettings GetMySettings(SettingsStore& store, Size primary, std::string_view decimalPoint) {
    SavedSettings s;
    // Half the screen less half the eight-panel window: centred.
    const float leftDefault =
        static_cast<float>(primary.width) * kTwipsPerPixel / 2.0f - kHalfWindowWidthTwips;
    const float topDefault =
        static_cast<float>(primary.height) * kTwipsPerPixel / 2.0f - kHalfWindowHeightTwips;
    Load(store, kStartUp, "Left", leftDefault, decimalPoint, s.Left);
    Load(store, kStartUp, "Top", topDefault, decimalPoint, s.Top);
    // A code that names no reading, or no window size, counts as unreadable: a damaged value
    // must not cost the panel its reading nor the window its place and size.
    for (int p = 0; p < kPanels; ++p) {
        std::uint8_t code = 0;
        Load(store, kForms, SectionKey(p), kSectionDefaults[p], decimalPoint, code);
        const auto section = static_cast<SectionKind>(code);
        s.Section[static_cast<std::size_t>(p)] = IsReadingKind(section) ? section : kUsedRamPercent;
    }
    Load(store, kForms, "Panels", kFirstRunPanelsMode, decimalPoint, s.Panels);
    if (PanelsShown(s.Panels) == 0) {
        s.Panels = kFirstRunPanelsMode;
    }
    return s;
}

// Every value goes out on every save, so that the file ends up holding the window as it is,
// whatever another program did to it meanwhile.
void SaveMySettings(SettingsStore& store, const SavedSettings& s) {
    store.Write(kStartUp, "Left", std::to_string(s.Left));
    store.Write(kStartUp, "Top", std::to_string(s.Top));
    for (int p = 0; p < kPanels; ++p) {
        store.Write(kForms, SectionKey(p), std::to_string(s.Section[static_cast<std::size_t>(p)]));
    }
    store.Write(kForms, "Panels", std::to_string(s.Panels));
    store.Commit();
}

}  // namespace kelvane
