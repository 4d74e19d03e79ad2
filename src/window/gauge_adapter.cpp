// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window/gauge_adapter.h"

#include "core/frm_main.h"
#include "rules/panels_mode.h"

namespace kelvane {

int GaugeAdapter::VisiblePanels() const {
    return PanelsShown(gauge_.PanelsMode);
}

PanelShown GaugeAdapter::Panel(int panel) const {
    const auto p = static_cast<std::size_t>(panel);
    const std::string_view caption = gauge_.controls.Text(gauge_.lblInfo[p]);
    return {gauge_.Section[p],
            QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size())),
            gauge_.DriveMountPoint(panel), gauge_.PanelStrip(panel),
            static_cast<double>(gauge_.MemStatus.totalPhys) / 1024.0};
}

QRect GaugeAdapter::ButtonRect(GaugeButton button) const {
    const ControlId ids[kGaugeButtons] = {gauge_.imgClose2, gauge_.imgMin1, gauge_.imgHelp1,
                                          gauge_.Label1,    gauge_.Label3,  gauge_.Label2};
    return gauge_.controls[ids[static_cast<int>(button)]].pixels;
}

QRect GaugeAdapter::LogoRect() const {
    return gauge_.controls[gauge_.Image1].pixels;
}

void GaugeAdapter::Press(GaugeButton button) {
    Click(ButtonRect(button).center());
}

// Left of the number and below the bar, only the title picture takes the press.
void GaugeAdapter::NextReading(int panel) {
    Click(gauge_.PanelStrip(panel).topLeft() + QPoint(4, 20));
}

void GaugeAdapter::Click(QPoint pixels) {
    gauge_.MouseDown(pixels, false);
    gauge_.MouseUp(pixels, Qt::NoButton);
}

}  // namespace kelvane
