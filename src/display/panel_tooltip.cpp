// What a panel's tooltip says: where a drive is mounted, or how a memory figure is made.

#include <QHelpEvent>
#include <QToolTip>

#include "window/frm_main.h"

namespace kelvane {

QString FrmMain::PanelToolTip(int panel) const {
    const int code = Section[panel];
    if (IsDriveKind(code)) {
        const QString letter = QStringLiteral("%1:").arg(QLatin1Char(DriveLetter(code)));
        const QString mountPoint = platform_.volumes.MountPoint(code - kFirstDrive);
        return mountPoint.isEmpty() ? letter : letter + QLatin1Char(' ') + mountPoint;
    }
    switch (code) {
        case kUsedRamPercent:
        case kUsedRamKb:
        case kUsedRamMb:
            return tr("Used RAM = total \u2212 available memory");
        case kFreeRamPercent:
        case kFreeRamKb:
        case kFreeRamMb:
            return tr("Free RAM = available memory (what programs can still use)");
        case kTotalRam:
            return tr("Total physical memory");
        default:
            return {};
    }
}

// Computed when asked, so it always names the panel's current reading.
bool FrmMain::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) {
        return QWidget::event(event);
    }
    const auto* help = static_cast<QHelpEvent*>(event);
    const int row = help->pos().y() - TwipsToPixels(270);
    const int panel = row >= 0 ? row / TwipsToPixels(435) : -1;
    if (panel < 0 || panel >= kPanels || row % TwipsToPixels(435) >= TwipsToPixels(405)) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const QString text = PanelToolTip(panel);
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        const QRect strip(0, TwipsToPixels(270 + 435 * panel), width(), TwipsToPixels(405));
        QToolTip::showText(help->globalPos(), text, this, strip);
    }
    return true;
}

}  // namespace kelvane
