// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QByteArray>
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
    // Hands every value written so far over to be saved, all at once, and returns at once: a
    // new file takes the old one's place in the background, the last values handed over last.
    virtual void Commit() = 0;
    // Waits until what was handed over is saved. True when the file now holds it (or nothing
    // was handed over); false when it could not be written, the old file left as it was.
    virtual bool Flush() = 0;
};

// The user's settings file: $XDG_CONFIG_HOME/Kelvane/Kelvane.conf, or ~/.config/... where that
// is unset or not an absolute path. In the file system's own bytes, which need not be UTF-8.
QByteArray UserSettingsPath();

// The store in the INI file at `path`, which is only read and written while it names (after
// links) a regular file or nothing yet. Anything else there, a FIFO or a device say, is never
// opened or replaced: the store then starts empty and its saves fail. A file far larger than
// any settings file is damaged: it is kept aside as `path`.damaged and the store starts empty.
std::unique_ptr<SettingsStore> MakeSettingsStore(const QByteArray& path);

}  // namespace kelvane
