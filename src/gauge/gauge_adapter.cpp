// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "gauge/gauge_adapter.h"

#include "gauge/frm_main.h"
#include "rules/window_layout.h"

namespace kelvane {

int GaugeAdapter::VisiblePanels() const {
    return gauge_.PanelsShown();
}

PanelShown GaugeAdapter::Panel(int panel) const {
    const Controls& controls = gauge_.controls();
    const ControlId title = controls.HitTest(PanelTitlePoint(panel));
    PanelShown shown;
    static_cast<PanelResult&>(shown) = gauge_.Shown(panel);
    shown.rect = PanelStrip(panel);
    shown.title = title == kNoControl ? Rect() : controls[title].pixels;
    shown.label = controls[gauge_.layout().panels[static_cast<std::size_t>(panel)].lblInfo].pixels;
    return shown;
}

SectionKind GaugeAdapter::Reading(int panel) const {
    return gauge_.Section(panel);
}

Rect GaugeAdapter::WindowOnScreen() const {
    return gauge_.WindowPlace();
}

Rect GaugeAdapter::ButtonRect(GaugeButton button) const {
    const MainLayout& l = gauge_.layout();
    const ControlId ids[kGaugeButtons] = {l.imgClose2, l.imgMin1, l.imgHelp1,
                                          l.Label1,    l.Label3,  l.Label2};
    return gauge_.controls()[ids[static_cast<int>(button)]].pixels;
}

Rect GaugeAdapter::LogoRect() const {
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

bool GaugeAdapter::TakeAssistedPress() {
    return gauge_.TakeAssistedPress();
}

}  // namespace kelvane
