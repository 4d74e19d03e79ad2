// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "drawing/x11/x11_connection.h"

#include <QGuiApplication>

#include "drawing/qt/qt_platform.h"

namespace kelvane {

xcb_connection_t* X11Connection() {
    if (QtRunsOn() != QtWindowSystem::kX11) {
        return nullptr;
    }
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

}  // namespace kelvane
