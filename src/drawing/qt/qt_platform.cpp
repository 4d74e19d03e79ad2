// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/qt/qt_platform.h"

#include <QGuiApplication>

namespace kelvane {

// XWayland is X11 to Qt: its platform is xcb there too.
QtWindowSystem QtRunsOn() {
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("xcb"))) {
        return QtWindowSystem::kX11;
    }
    return platform.startsWith(QLatin1String("wayland")) ? QtWindowSystem::kWayland
                                                         : QtWindowSystem::kOther;
}

}  // namespace kelvane
