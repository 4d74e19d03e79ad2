// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Screens as the windowing system reports them.

#include <QGuiApplication>
#include <QScreen>

#include "platform/window_system.h"
#include "rules/window_layout.h"

namespace kelvane {
namespace {

class QtScreens final : public ScreenInfo {
  public:
    QSize PrimarySize() const override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->geometry().size() : kFallbackScreen.size();
    }

    QRect GeometryAt(QPoint point) const override {
        if (const QScreen* screen = QGuiApplication::screenAt(point)) {
            return screen->geometry();
        }
        const QScreen* primary = QGuiApplication::primaryScreen();
        return primary ? primary->geometry() : kFallbackScreen;
    }

    QList<QRect> Geometries() const override {
        QList<QRect> all;
        for (const QScreen* screen : QGuiApplication::screens()) {
            all.append(screen->geometry());
        }
        if (all.isEmpty()) {
            all.append(kFallbackScreen);
        }
        return all;
    }
};

}  // namespace

void WatchScreens(std::function<void()> changed) {
    // Queued, so that every screen is up to date by then.
    const auto watch = [changed](QScreen* screen) {
        QObject::connect(screen, &QScreen::geometryChanged, qApp, changed, Qt::QueuedConnection);
    };
    for (QScreen* screen : QGuiApplication::screens()) {
        watch(screen);
    }
    QObject::connect(qApp, &QGuiApplication::screenAdded, qApp, [watch, changed](QScreen* screen) {
        watch(screen);
        QMetaObject::invokeMethod(qApp, changed, Qt::QueuedConnection);
    });
    QObject::connect(qApp, &QGuiApplication::screenRemoved, qApp, changed, Qt::QueuedConnection);
}

std::unique_ptr<ScreenInfo> MakeSystemScreen() {
    return std::make_unique<QtScreens>();
}

}  // namespace kelvane
