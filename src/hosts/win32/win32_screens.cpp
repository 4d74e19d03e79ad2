// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "hosts/win32/win32_screens.h"

#include <shellscalingapi.h>
#include <windows.h>

#include "rules/window_layout.h"

namespace kelvane {
namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    auto& all = *reinterpret_cast<std::vector<ScaledScreen>*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoW(monitor, &info)) {
        return TRUE;
    }
    UINT dpiX = USER_DEFAULT_SCREEN_DPI;
    UINT dpiY = USER_DEFAULT_SCREEN_DPI;
    if (::GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY) != S_OK || dpiX == 0) {
        dpiX = USER_DEFAULT_SCREEN_DPI;
    }
    const RECT& r = info.rcMonitor;
    const ScaledScreen screen{{r.left, r.top, r.right - r.left, r.bottom - r.top},
                              static_cast<double>(dpiX) / USER_DEFAULT_SCREEN_DPI};
    if ((info.dwFlags & MONITORINFOF_PRIMARY) != 0) {
        all.insert(all.begin(), screen);
    } else {
        all.push_back(screen);
    }
    return TRUE;
}

class Win32Screens final : public ScreenInfo {
  public:
    Size PrimarySize() const override { return Geometries().front().GetSize(); }

    Rect GeometryAt(Point point) const override {
        const std::vector<ScaledScreen> all = Monitors();
        for (const ScaledScreen& screen : all) {
            if (screen.Logical().Contains(point)) {
                return screen.Logical();
            }
        }
        return all.empty() ? kFallbackScreen : all.front().Logical();
    }

    std::vector<Rect> Geometries() const override {
        std::vector<Rect> all;
        for (const ScaledScreen& screen : Monitors()) {
            all.push_back(screen.Logical());
        }
        if (all.empty()) {
            all.push_back(kFallbackScreen);
        }
        return all;
    }
};

}  // namespace

std::vector<ScaledScreen> Monitors() {
    std::vector<ScaledScreen> all;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&all));
    return all;
}

std::unique_ptr<ScreenInfo> MakeWin32Screens() {
    return std::make_unique<Win32Screens>();
}

}  // namespace kelvane
