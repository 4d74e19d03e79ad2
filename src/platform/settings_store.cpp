// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "platform/settings_store.h"

#include <sys/stat.h>

#include <QFile>
#include <QHash>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <cerrno>

namespace kelvane {
namespace {

// What the path names once links are followed. QSettings is handed the path only while that
// is a regular file or nothing: it opens a FIFO for reading and waits for a writer that never
// comes, and it writes by renaming a new file over whatever the links lead to, a device
// included.
enum class Target { Nothing, RegularFile, Other };

Target TargetOf(const QString& path, struct stat& st) {
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        return S_ISREG(st.st_mode) ? Target::RegularFile : Target::Other;
    }
    return errno == ENOENT ? Target::Nothing : Target::Other;
}

// A QSettings lives only as long as one read or one write: one that outlives its write can
// write again on its own from the event loop, with no check of the path before.
class IniFileStore final : public SettingsStore {
  public:
    explicit IniFileStore(QString path) : path_(std::move(path)) {
        struct stat st {};
        if (TargetOf(path_, st) == Target::Other) {
            return;
        }
        const QSettings file(path_, QSettings::IniFormat);
        for (const QString& name : file.allKeys()) {
            const QVariant value = file.value(name);
            // The INI format reads an unquoted "1,5" as a list of two strings.
            saved_.insert(name, value.typeId() == QMetaType::QStringList
                                    ? value.toStringList().join(QLatin1Char(','))
                                    : value.toString());
        }
    }

    std::optional<QString> Read(const QString& section, const QString& key) override {
        const QString name = section + QLatin1Char('/') + key;
        if (const auto it = pending_.constFind(name); it != pending_.cend()) {
            return *it;
        }
        if (const auto it = saved_.constFind(name); it != saved_.cend()) {
            return *it;
        }
        return std::nullopt;
    }

    void Write(const QString& section, const QString& key, const QString& value) override {
        // A value set back to what the file holds stays pending once it has been changed:
        // Qt keeps the values of a failed write for that file and would write them next time.
        const QString name = section + QLatin1Char('/') + key;
        const auto it = saved_.constFind(name);
        if (pending_.contains(name) || it == saved_.cend() || *it != value) {
            pending_.insert(name, value);
        }
    }

    bool Commit() override {
        if (pending_.isEmpty()) {
            return true;
        }
        // QSettings also takes a lock file beside the path while it writes, and first reads
        // whatever it finds there: that too must be a regular file or nothing.
        struct stat before {};
        struct stat lock {};
        const Target target = TargetOf(path_, before);
        if (target == Target::Other ||
            TargetOf(path_ + QStringLiteral(".lock"), lock) == Target::Other) {
            return false;
        }
        {
            QSettings file(path_, QSettings::IniFormat);
            for (auto it = pending_.cbegin(); it != pending_.cend(); ++it) {
                file.setValue(it.key(), it.value());
            }
            file.sync();
        }
        // A write that went through has renamed a new file into place. QSettings' status
        // cannot tell: it keeps the first error it met, a line it could not read included.
        struct stat after {};
        if (TargetOf(path_, after) != Target::RegularFile ||
            (target == Target::RegularFile && after.st_dev == before.st_dev &&
             after.st_ino == before.st_ino)) {
            return false;
        }
        saved_.insert(pending_);
        pending_.clear();
        return true;
    }

  private:
    const QString path_;
    QHash<QString, QString> saved_;    // "Section/Key" to the text the file holds
    QHash<QString, QString> pending_;  // what differs from it, not written yet
};

}  // namespace

QString UserSettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Kelvane/Kelvane.conf");
}

std::unique_ptr<SettingsStore> MakeSettingsStore(const QString& path) {
    return std::make_unique<IniFileStore>(path);
}

std::unique_ptr<SettingsStore> MakeUserSettingsStore() {
    return MakeSettingsStore(UserSettingsPath());
}

}  // namespace kelvane
