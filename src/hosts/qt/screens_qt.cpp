// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Screens as the windowing system reports them.

#include <QGuiApplication>
#include <QScreen>

#include "drawing/qt/qt_geometry.h"
#include "hosts/qt/screens.h"
#include "rules/window_layout.h"

namespace kelvane {
namespace {

class QtScreens final : public ScreenInfo {
  public:
    Size PrimarySize() const override {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? FromQt(screen->geometry().size()) : kFallbackScreen.GetSize();
    }

    Rect GeometryAt(Point point) const override {
        if (const QScreen* screen = QGuiApplication::screenAt(ToQt(point))) {
            return FromQt(screen->geometry());
        }
        const QScreen* primary = QGuiApplication::primaryScreen();
        return primary ? FromQt(primary->geometry()) : kFallbackScreen;
    }

    std::vector<Rect> Geometries() const override {
        std::vector<Rect> all;
        for (const QScreen* screen : QGuiApplication::screens()) {
            all.push_back(FromQt(screen->geometry()));
        }
        if (all.empty()) {
            all.push_back(kFallbackScreen);
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
