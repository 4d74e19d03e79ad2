#include "settings/settings_store.h"

#include <QSettings>
#include <QStringList>

namespace kelvane {
namespace {

class QtSettingsStore final : public SettingsStore {
  public:
    QtSettingsStore()
        : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kelvane"),
                    QStringLiteral("Kelvane")) {}

    std::optional<QString> Read(const QString& section, const QString& key) override {
        const QString path = section + QLatin1Char('/') + key;
        if (!settings_.contains(path)) {
            return std::nullopt;
        }
        const QVariant value = settings_.value(path);
        // The INI format reads an unquoted "1,5" as a list of two strings.
        if (value.typeId() == QMetaType::QStringList) {
            return value.toStringList().join(QLatin1Char(','));
        }
        return value.toString();
    }

    void Write(const QString& section, const QString& key, const QString& value) override {
        settings_.setValue(section + QLatin1Char('/') + key, value);
    }

    bool Commit() override {
        settings_.sync();
        return settings_.status() == QSettings::NoError;
    }

  private:
    QSettings settings_;
};

}  // namespace

std::unique_ptr<SettingsStore> MakeUserSettingsStore() {
    return std::make_unique<QtSettingsStore>();
}

}  // namespace kelvane
