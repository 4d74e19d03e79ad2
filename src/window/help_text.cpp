// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window/help_text.h"

#include <QStringList>
#include <utility>
#include <vector>

#include "rules/presets.h"

namespace kelvane {
namespace {

// A tab, not padding, ends the key: the help window sets its tab stop in pixels, so that in a
// proportional font every action starts at one place.
QString Row(const QString& key, const QString& action) {
    return key + QLatin1Char('\t') + action;
}

// A reading in the help's words: "Used RAM Percent", "Total RAM MB", "Drive C:".
QString HelpName(int code) {
    if (IsDriveKind(code)) {
        return QStringLiteral("Drive %1:").arg(QLatin1Char(DriveLetter(code)));
    }
    const KindWords& kind = WordsOf(code);
    const QString unit = QString::fromUtf8(kind.unit.data(), qsizetype(kind.unit.size()));
    return QString::fromUtf8(kind.reading.data(), qsizetype(kind.reading.size())) +
           QLatin1Char(' ') + (unit == QLatin1String("percent") ? QStringLiteral("Percent") : unit);
}

}  // namespace

QString HelpText() {
    QStringList lines = {
        QStringLiteral("What is Kelvane?"),
        QStringLiteral(" "),
        QStringLiteral("  Kelvane is handy software to show you the amount of RAM "),
        QStringLiteral("and Hard Disk usage in real time; Kelvane keeps an eye on your "),
        QStringLiteral("RAM and Hard Disk and monitor it."),
        QStringLiteral(" "),
        QStringLiteral("How does it work?"),
        QStringLiteral(" "),
        QStringLiteral("  Working with Kelvane is quite simple:"),
        QStringLiteral("  -To change each panel easily click on the name of that panel, "),
        QStringLiteral("keep clicking to change to other sections and cycling."),
        QStringLiteral("  -To change the size of Kelvane click on small line icon on the "),
        QStringLiteral("upper left of window."),
        QStringLiteral("  -Kelvane can detect how many partitions you have on your "),
        QStringLiteral("computer; change panels to obtain your desire drive by clicking "),
        QStringLiteral("on panels till you get there."),
        // Beyond the mouse: the keyboard, and what a screen reader hears.
        QStringLiteral("  -Without a mouse, Tab and Shift+Tab walk the buttons and panels, "),
        QStringLiteral("Space or Return presses the one chosen (a panel: its next reading); "),
        QStringLiteral("a screen reader such as Orca reads each panel's name and figure."),
        QStringLiteral(" "),
        QStringLiteral("Keyboard Shortcuts:"),
        Row(QStringLiteral("Key"), QStringLiteral("Action")),
        QString(81, QLatin1Char('-')),
    };
    // The key table is the preset table in the help's own words; only F5's line for the total
    // has always said KB, though the panel shows MB, and the help keeps its words.
    const std::pair<const char*, QStringList> f1 = {"F1", {QStringLiteral("Quick Help")}};
    const std::pair<const char*, QStringList> f12 = {
        "F12", {QStringLiteral("All Your Partitions (8 Panels)")}};
    std::vector<std::pair<QString, QStringList>> table = {{f1.first, f1.second}};
    for (int n = 2; n <= 11; ++n) {
        QStringList actions;
        for (const PresetPanel& panel : PresetForKey(FKey(n))->panels) {
            actions << HelpName(panel.section);
        }
        if (n == 5) {
            actions.last() = QStringLiteral("Total RAM KB");
        }
        table.emplace_back(QStringLiteral("F%1").arg(n), actions);
    }
    table.emplace_back(f12.first, f12.second);
    bool first = true;
    for (const auto& [key, actions] : table) {
        if (!first) {
            lines << QStringLiteral(" ");
        }
        first = false;
        for (qsizetype i = 0; i < actions.size(); ++i) {
            lines << Row(i == 0 ? key : QString(), actions[i]);
        }
    }
    return QStringLiteral("\n") + lines.join(QStringLiteral("\r\n"));
}

}  // namespace kelvane
