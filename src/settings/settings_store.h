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
    // Writes everything out at once; false when the store could not be written (the old
    // file is then left as it was). Qt keeps the first error it met, so a file that held
    // lines it could not read also gives false, though the write went through.
    virtual bool Commit() = 0;
};

// The user's store: $XDG_CONFIG_HOME/Kelvane/Kelvane.conf on Linux.
std::unique_ptr<SettingsStore> MakeUserSettingsStore();

}  // namespace kelvane
