// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// A panel's title, drive label, number place and colours for its reading.

#include "core/frm_main.h"
#include "rules/panels_mode.h"

namespace kelvane {

// At start-up only; the title clicks and the presets place the number in their own ways.
void FrmMain::SetPanels(int Index) {
    const auto p = static_cast<std::size_t>(Index);
    const int code = Section[p];
    if (!IsReadingKind(code)) {
        return;
    }
    const ReadingKind& kind = KindOf(code);
    ShowTitle(Index, TitleOf(code));
    if (IsDriveKind(code)) {
        ShowDriveLabel(Index, code);
    } else {
        controls.SetVisible(lblDrv[p], false);
    }
    PlaceNumber(Index, kind.atStart);
    if (kind.recolouredAtStart) {
        ChangeColor(Index, kind.scheme == ColourScheme::RedToGreen);
    }
}

// Exactly one title picture of the panel is left visible.
void FrmMain::ShowTitle(int panel, int title) {
    for (int t = 0; t < kTitles; ++t) {
        controls.SetVisible(Titles[static_cast<std::size_t>(t)][static_cast<std::size_t>(panel)],
                            t == title);
    }
}

void FrmMain::PlaceNumber(int panel, NumberPlace place) {
    const ControlId label = lblInfo[static_cast<std::size_t>(panel)];
    controls.SetLeft(label, place.left);
    controls.SetWidth(label, place.width);
}

void FrmMain::ShowDriveLabel(int panel, int code) {
    const ControlId label = lblDrv[static_cast<std::size_t>(panel)];
    const char caption[] = {DriveLetter(code), ':'};
    controls.SetText(label, std::string_view(caption, 2));
    controls.SetVisible(label, true);
    controls.SetLeft(label, 870);
}

// What a panel's tooltip says, asked for when it shows, so that it names the panel's
// current reading.
QString FrmMain::PanelToolTip(int panel) const {
    const int code = Section[static_cast<std::size_t>(panel)];
    if (!IsReadingKind(code)) {
        return {};
    }
    if (!IsDriveKind(code)) {
        const std::string_view tip = KindOf(code).toolTip;
        return QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size()));
    }
    const QString letter = QStringLiteral("%1:").arg(QLatin1Char(DriveLetter(code)));
    const QString mountPoint = DriveMountPoint(panel);
    return letter + QLatin1Char(' ') +
           (mountPoint.isEmpty() ? QStringLiteral("no drive has this letter") : mountPoint);
}

QString FrmMain::DriveMountPoint(int panel) const {
    const int code = Section[static_cast<std::size_t>(panel)];
    return IsDriveKind(code) ? platform_.volumes.MountPoint(code - kFirstDrive) : QString();
}

// Panel p's strip: its LED row and caption row, 405 twips from 270 + 435 p.
QRect FrmMain::PanelStrip(int panel) const {
    return {0, TwipsToPixels(270 + 435 * panel), kWindowWidth, TwipsToPixels(405)};
}

int FrmMain::PanelAt(QPoint pixels) const {
    for (int p = 0; p < kPanels; ++p) {
        const QRect strip = PanelStrip(p);
        if (pixels.y() >= strip.top() && pixels.y() <= strip.bottom()) {
            return p;
        }
    }
    return -1;
}

}  // namespace kelvane
