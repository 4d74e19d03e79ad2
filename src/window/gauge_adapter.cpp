// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window/gauge_adapter.h"

#include "gauge/frm_main.h"
#include "rules/window_layout.h"

namespace kelvane {

int GaugeAdapter::VisiblePanels() const {
    return gauge_.PanelsShown();
}

PanelShown GaugeAdapter::Panel(int panel) const {
    const auto p = static_cast<std::size_t>(panel);
    const std::string_view caption = gauge_.controls().Text(gauge_.layout().panels[p].lblInfo);
    const Controls& controls = gauge_.controls();
    const ControlId title = controls.HitTest(PanelTitlePoint(panel));
    return {gauge_.Section(panel),
            QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
            gauge_.DriveMountPoint(panel),
            PanelStrip(panel),
            title == kNoControl ? QRect() : controls[title].pixels,
            controls[gauge_.layout().panels[p].lblInfo].pixels,
            static_cast<double>(gauge_.ReadingsNow().mem.totalPhys) / 1024.0};
}

QRect GaugeAdapter::WindowOnScreen() const {
    return gauge_.WindowPlace();
}

QRect GaugeAdapter::ButtonRect(GaugeButton button) const {
    const MainLayout& l = gauge_.layout();
    const ControlId ids[kGaugeButtons] = {l.imgClose2, l.imgMin1, l.imgHelp1,
                                          l.Label1,    l.Label3,  l.Label2};
    return gauge_.controls()[ids[static_cast<int>(button)]].pixels;
}

QRect GaugeAdapter::LogoRect() const {
    return gauge_.controls()[gauge_.layout().Image1].pixels;
}

void GaugeAdapter::Press(GaugeButton button) {
    switch (button) {
        case GaugeButton::kClose:
            gauge_.CloseGauge();
            break;
        case GaugeButton::kSize:
            gauge_.StepSize();
            break;
        case GaugeButton::kHelp:
            gauge_.OpenHelp();
            break;
        case GaugeButton::kPinLeft:
            gauge_.PinLeft();
            break;
        case GaugeButton::kPinTop:
            gauge_.PinTop();
            break;
        case GaugeButton::kPinRight:
            gauge_.PinRight();
            break;
    }
}

void GaugeAdapter::NextReading(int panel) {
    gauge_.NextReading(panel);
}

}  // namespace kelvane
