// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <chrono>
#include <cstdint>

#include "core/main_layout.h"
#include "core/system.h"

namespace kelvane {

// What the settings hold: the window's place in twips, each panel's reading and the size code.
struct SavedSettings {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    PerPanel<SectionKind> Section{};
    std::uint8_t Panels = 0;
    bool operator==(const SavedSettings&) const = default;
};

// Reads the settings at start, `primary` being the primary screen's size in pixels, and
// numbers with a fraction written with the locale's `decimalPoint`. A missing key takes its
// default; a value that cannot be read counts as 0, and a section code or size code that
// names nothing as unreadable too.
SavedSettings GetMySettings(SettingsStore& store, Size primary, std::string_view decimalPoint);

// Hands every value to the store to be written.
void SaveMySettings(SettingsStore& store, const SavedSettings& settings);

// When the settings are written while the gauge runs: a second after the last change, and
// never while nothing changed since the last write.
class SaveSchedule {
  public:
    static constexpr std::chrono::milliseconds kDelay{1000};

    void Saved(const SavedSettings& settings) {
        saved_ = settings;
        due_.reset();
    }
    // The settings may differ from what was last written: the save is put off a second more,
    // or called off when they are the same again.
    void MayHaveChanged(const SavedSettings& now, std::chrono::milliseconds time) {
        due_ = now == saved_ ? std::nullopt : std::optional(time + kDelay);
    }
    bool Pending() const { return due_.has_value(); }
    bool Due(std::chrono::milliseconds time) const { return due_ && time >= *due_; }

  private:
    SavedSettings saved_;
    std::optional<std::chrono::milliseconds> due_;
};

}  // namespace kelvane
