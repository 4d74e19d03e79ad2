// What each panel shows on a tick.

#include "core/reading_rules.h"
#include "window/frm_main.h"

namespace kelvane {

void FrmMain::SetWholeLights(int panel) {
    const int code = Section[panel];
    if (IsMemoryKind(code) && !memoryKnown_) {
        return;  // nothing read yet: show nothing rather than a made-up figure
    }
    TickReadings in;
    in.mem = MemStatus;
    in.freePercent = FreePercent;
    in.driveUsedPercent = DriveUsedPercent;
    in.decimalPoint =
        std::string_view(decimalPoint_.constData(), static_cast<std::size_t>(decimalPoint_.size()));
    // Most ticks read what the last one did; only this tick's caption and bar, and nothing
    // else, write to the panel's controls, so with the same inputs they are already right.
    auto& shown = shownInputs_[static_cast<std::size_t>(panel)];
    const PanelInputs inputs = PanelInputsOf(code, in);
    if (inputs == shown) {
        return;
    }
    CaptionText caption;
    LedCommand led;
    if (!PanelReading(code, in, caption, led)) {
        return;
    }
    if (led.action == LedCommand::kFull) {
        TurnOnLights(panel);
    } else {
        SetLights(panel, led.level);
    }
    SetCaption(panel, caption);
    shown = inputs;
}

// Writes the label only when its text changes: at 100 ticks a second an unchanged caption
// must cost neither a repaint nor an allocation.
void FrmMain::SetCaption(int panel, const CaptionText& caption) {
    auto& shown = shownCaption_[static_cast<std::size_t>(panel)];
    QLabel* label = lblInfo[static_cast<std::size_t>(panel)];
    if (shown == caption) {
        return;
    }
    shown = caption;
    const std::string_view text = caption.View();
    label->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace kelvane
