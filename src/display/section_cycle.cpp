// The title click: each press on a panel's title moves it on to the next reading, through
// the drives found at start and back to used RAM percent.

#include "window/frm_main.h"

namespace kelvane {

void FrmMain::imgURP_MouseDown(int Index) {
    ShowTitle(Index, imgURK);
    Section[Index] = kUsedRamKb;
    PlaceNumber(Index, 1150, 830);
}

void FrmMain::imgURK_MouseDown(int Index) {
    ShowTitle(Index, imgURM);
    Section[Index] = kUsedRamMb;
    PlaceNumber(Index, 1180, 830);
}

void FrmMain::imgURM_MouseDown(int Index) {
    ShowTitle(Index, imgFRP);
    Section[Index] = kFreeRamPercent;
    PlaceNumber(Index, 1400, 530);
    ChangeColor(Index, true);
}

void FrmMain::imgFRP_MouseDown(int Index) {
    ShowTitle(Index, imgFRK);
    Section[Index] = kFreeRamKb;
    PlaceNumber(Index, 1080, 900);
}

void FrmMain::imgFRK_MouseDown(int Index) {
    ShowTitle(Index, imgFRM);
    Section[Index] = kFreeRamMb;
    PlaceNumber(Index, 1110, 900);
}

void FrmMain::imgFRM_MouseDown(int Index) {
    ShowTitle(Index, imgTRK);
    Section[Index] = kTotalRam;
    PlaceNumber(Index, 1120, 900);
}

// Total RAM always moves on to C:, whatever was found, and leaves the walk where it is.
void FrmMain::imgTRK_MouseDown(int Index) {
    ShowTitle(Index, imgUD);
    ShowDriveLabel(Index, kFirstDrive);
    Section[Index] = kFirstDrive;
    PlaceNumber(Index, 1070, 900);
    ChangeColor(Index, false);
}

// The walk position is shared by all panels: the next drive follows the one that the walk
// or a preset last put on any panel.
void FrmMain::imgUD_MouseDown(int Index) {
    if (static_cast<int>(DriveStep) <= static_cast<int>(DriveCount) - 3) {
        ++DriveStep;
        const int code = kFirstDrive + DriveStep;
        ShowDriveLabel(Index, code);
        Section[Index] = static_cast<std::uint8_t>(code);
        return;
    }
    lblDrv[static_cast<std::size_t>(Index)]->hide();
    ShowTitle(Index, imgURP);
    Section[Index] = kUsedRamPercent;
    PlaceNumber(Index, 1460, 500);
    DriveStep = 0;
}

}  // namespace kelvane
