// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window/help_text.h"

#include <QStringList>
#include <initializer_list>
#include <utility>

namespace kelvane {
namespace {

// A tab, not padding, ends the key: the help window sets its tab stop in pixels, so that in a
// proportional font every action starts at one place.
QString Row(const QString& key, const QString& action) {
    return key + QLatin1Char('\t') + action;
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
        QStringLiteral(" "),
        QStringLiteral("Keyboard Shortcuts:"),
        Row(QStringLiteral("Key"), QStringLiteral("Action")),
        QString(81, QLatin1Char('-')),
    };
    const QString usedPercent = QStringLiteral("Used RAM Percent");
    const QString usedKb = QStringLiteral("Used RAM KB");
    const QString usedMb = QStringLiteral("Used RAM MB");
    const QString freePercent = QStringLiteral("Free RAM Percent");
    const QString freeKb = QStringLiteral("Free RAM KB");
    const QString freeMb = QStringLiteral("Free RAM MB");
    const QString totalMb = QStringLiteral("Total RAM MB");
    const QStringList f10 = {usedPercent, usedKb, usedMb, freePercent, freeKb, freeMb, totalMb};
    const std::initializer_list<std::pair<const char*, QStringList>> table = {
        {"F1", {QStringLiteral("Quick Help")}},
        {"F2", {usedPercent}},
        {"F3", {freePercent}},
        {"F4", {usedPercent, freePercent}},
        {"F5", {usedPercent, freePercent, QStringLiteral("Total RAM KB")}},
        {"F6", {usedKb, freeKb, totalMb}},
        {"F7", {usedMb, freeMb, totalMb}},
        {"F8", {usedPercent, usedKb, freePercent, freeKb, totalMb}},
        {"F9", {usedPercent, usedMb, freePercent, freeMb, totalMb}},
        {"F10", f10},
        {"F11", f10 + QStringList{QStringLiteral("Drive C:")}},
        {"F12", {QStringLiteral("All Your Partitions (8 Panels)")}},
    };
    bool first = true;
    for (const auto& [key, actions] : table) {
        if (!first) {
            lines << QStringLiteral(" ");
        }
        first = false;
        for (qsizetype i = 0; i < actions.size(); ++i) {
            lines << Row(i == 0 ? QLatin1String(key) : QString(), actions[i]);
        }
    }
    return QStringLiteral("\n") + lines.join(QStringLiteral("\r\n"));
}

}  // namespace kelvane
