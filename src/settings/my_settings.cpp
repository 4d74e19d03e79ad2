// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Loading the user's settings at start and writing them back.

#include <QLocale>
#include <limits>

#include "core/frm_main.h"
#include "rules/panels_mode.h"
#include "rules/setting_number.h"

namespace kelvane {
namespace {

const QString kStartUp = QStringLiteral("StartUp");
const QString kForms = QStringLiteral("Forms");
constexpr int kSectionDefaults[kPanels] = {3, 4, 5, 0, 1, 2, 6, 7};

QString SectionKey(int panel) {
    return QStringLiteral("Section_%1").arg(panel + 1);
}

// A missing key takes its default; a value that cannot be read, or is out of range, leaves
// the member as it was (0).
template <typename T>
void Load(SettingsStore& store, const QString& section, const QString& key, double fallback,
          T& member) {
    const std::optional<QString> text = store.Read(section, key);
    if (!text) {
        member = static_cast<T>(RoundHalfEven(fallback));
        return;
    }
    const QByteArray utf8 = text->toUtf8();
    const QByteArray point = QLocale().decimalPoint().toUtf8();
    const auto value = ParseSettingNumber(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
        std::numeric_limits<T>::min(), std::numeric_limits<T>::max(),
        std::string_view(point.constData(), static_cast<std::size_t>(point.size())));
    if (value) {
        member = static_cast<T>(*value);
    }
}

}  // namespace

void FrmMain::GetMySettings() {
    SettingsStore& store = platform_.settings;
    const QSize screen = platform_.screen.PrimarySize();
    const float leftDefault = static_cast<float>(screen.width()) * 15.0f / 2.0f - 1020.0f;
    const float topDefault = static_cast<float>(screen.height()) * 15.0f / 2.0f - 1860.0f;
    Load(store, kStartUp, QStringLiteral("Left"), leftDefault, StartLeft);
    Load(store, kStartUp, QStringLiteral("Top"), topDefault, StartTop);
    // A code that names no reading, or no window size, counts as unreadable: a damaged value
    // must not cost the panel its reading nor the window its place and size.
    for (int p = 0; p < kPanels; ++p) {
        auto& section = Section[static_cast<std::size_t>(p)];
        Load(store, kForms, SectionKey(p), kSectionDefaults[p], section);
        if (!IsReadingKind(section)) {
            section = kUsedRamPercent;
        }
    }
    Load(store, kForms, QStringLiteral("Panels"), kFirstRunPanelsMode, PanelsMode);
    if (PanelsShown(PanelsMode) == 0) {
        PanelsMode = kFirstRunPanelsMode;
    }
}

// Left, Top, Section_1 to Section_8 and Panels, in the order they are saved. Where the window
// system does not say where the window is, the position it was given at start stands.
std::array<std::int64_t, 11> FrmMain::SettingsNow() const {
    std::array<std::int64_t, 11> values{};
    const bool known = host_ != nullptr && host_->PositionKnown();
    const QPoint place = known ? host_->Geometry().topLeft() : QPoint();
    values[0] = known ? place.x() * 15 : StartLeft;
    values[1] = known ? place.y() * 15 : StartTop;
    for (int p = 0; p < kPanels; ++p) {
        values[static_cast<std::size_t>(2 + p)] = Section[static_cast<std::size_t>(p)];
    }
    values[10] = PanelsMode;
    return values;
}

void FrmMain::SaveMySettings() {
    SettingsStore& store = platform_.settings;
    const auto values = SettingsNow();
    store.Write(kStartUp, QStringLiteral("Left"), QString::number(values[0]));
    store.Write(kStartUp, QStringLiteral("Top"), QString::number(values[1]));
    for (int p = 0; p < kPanels; ++p) {
        store.Write(kForms, SectionKey(p),
                    QString::number(values[static_cast<std::size_t>(2 + p)]));
    }
    store.Write(kForms, QStringLiteral("Panels"), QString::number(values[10]));
    // Every value goes out on every save, so that the file ends up holding the window as it
    // is, whatever another program did to it meanwhile. The store writes in the background;
    // one that fails keeps its old file, and the next change writes everything again.
    store.Commit();
    saved_ = values;
}

}  // namespace kelvane
