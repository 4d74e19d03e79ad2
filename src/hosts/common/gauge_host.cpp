// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "hosts/common/gauge_host.h"

#include <utility>

#include "drawing/qt/qt_geometry.h"
#include "gauge/frm_main.h"
#include "gauge/words.h"
#include "help/frm_help.h"

namespace kelvane {

GaugeHost::~GaugeHost() {
    delete help_.data();
}

// The gauge saves, then the help window closes, then the main window goes: once, whoever asks
// first (the close button, the window manager, the session, a signal).
void GaugeHost::UnloadAll() {
    if (std::exchange(unloading_, true)) {
        return;
    }
    gauge_.Form_Unload();
    if (help_) {
        help_->close();
    }
    ReleaseWindow();
    if (unloaded_) {
        unloaded_();
    }
}

// One help window, shown again where it is open; centred on the gauge's screen when it opens.
void GaugeHost::ShowHelp() {
    HelpShowing();
    if (!help_) {
        help_ = new FrmHelp(ToQt(gauge_.ScreenOf(gauge_.WindowPlace())));
    }
    // Shown again, a minimised help window comes back as it was.
    help_->setWindowState(help_->windowState() & ~Qt::WindowMinimized);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

FrmHelp* GaugeHost::HelpWindow() const {
    return help_;
}

// Computed when asked, so that it names the panel's current reading.
QString GaugeHost::ToolTipAt(Point pixels) const {
    const int panel = FrmMain::PanelAt(pixels);
    return panel >= 0 ? QString::fromStdString(DescribePanel(gauge_.Shown(panel)).description)
                      : QString();
}

// A tooltip that looks like markup is shown as rich text, and a mount point is a folder's name:
// escaped, and kept on its lines as plain text would be.
QString GaugeHost::AsToolTip(const QString& text) {
    return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(text.toHtmlEscaped());
}

}  // namespace kelvane
