// Start-up, the refresh tick and shutdown of the main window.

#include "core/panels_mode.h"
#include "core/reading_rules.h"
#include "window/frm_main.h"

namespace kelvane {

void FrmMain::Form_Load() {
    FindHowManyDrives();
    TurnOffLights(1);
    if (const int panels = PanelsShown(PanelsMode); panels > 0) {
        SetWindowPos(TwipsToPixels(StartLeft), TwipsToPixels(StartTop), kWindowWidth,
                     WindowHeight(panels));
    }
    for (int p = 0; p < kPanels; ++p) {
        SetPanels(p);
    }
}

void FrmMain::Timer1_Timer() {
    MemoryStatus snapshot;
    // An unreadable or implausible snapshot keeps the previous readings.
    if (platform_.memory.Read(snapshot) && IsUsableSnapshot(snapshot)) {
        MemStatus = snapshot;
        FreePercent = FreePercentOf(snapshot);
        memoryKnown_ = true;
    }
    for (int p = 0; p < kPanels; ++p) {
        SetWholeDrive(p);
    }
    for (int p = 0; p < kPanels; ++p) {
        SetWholeLights(p);
    }
}

void FrmMain::Form_Unload() {
    if (unloaded_) {
        return;
    }
    unloaded_ = true;
    SaveMySettings();
}

void FrmMain::CloseAction() {
    close();
}

}  // namespace kelvane
