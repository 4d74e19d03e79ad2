// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QString>
#include <memory>
#include <optional>

namespace kelvane {

// The per-user store of string values by section and key.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // The stored text, or nothing when the key does not exist. Reading never creates a key.
    virtual std::optional<QString> Read(const QString& section, const QString& key) = 0;
    virtual void Write(const QString& section, const QString& key, const QString& value) = 0;
    // Writes the values that changed since the last write, all at once, into a new file that
    // then takes the old one's place. True when the file now holds them, or when nothing
    // changed (the file is then not touched); false when they could not be written: the old
    // file is left as it was and the values stay pending for the next Commit.
    virtual bool Commit() = 0;
};

// The user's settings file: $XDG_CONFIG_HOME/Kelvane/Kelvane.conf, ~/.config/... without it.
QString UserSettingsPath();

// The store in the INI file at `path`, which is only read and written while it names (after
// links) a regular file or nothing yet. Anything else there, a FIFO or a device say, is never
// opened or replaced: the store then starts empty and Commit fails.
std::unique_ptr<SettingsStore> MakeSettingsStore(const QString& path);

// The store in the user's settings file.
std::unique_ptr<SettingsStore> MakeUserSettingsStore();

}  // namespace kelvane
