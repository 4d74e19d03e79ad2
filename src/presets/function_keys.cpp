// The keyboard: F1 for help, F2 to F12 for fixed arrangements. Modifiers are not looked at.

#include <algorithm>

#include "core/panels_mode.h"
#include "presets/presets.h"
#include "window/frm_main.h"

namespace kelvane {
namespace {

constexpr int kF1 = 112;
constexpr int kF11 = 122;
constexpr int kF12 = 123;

}  // namespace

void FrmMain::Form_KeyDown(int key) {
    if (key == kF1) {
        ShowHelp();
        return;
    }
    if (key == kF12) {
        const int found = DriveCount - 1;
        if (found < 1) {
            return;
        }
        const int n = std::min(found, kPanels);
        PanelsMode = PanelsModeForPanels(n);
        for (int k = 0; k < n; ++k) {
            Section[k] = static_cast<std::uint8_t>(kFirstDrive + k);
        }
        for (int k = 0; k < n; ++k) {
            PlaceNumber(k, 1070, 900);
            ShowDriveLabel(k, kFirstDrive + k);
        }
        for (int k = 0; k < n; ++k) {
            FunctionKeys(k, QStringLiteral("UD"), false);
        }
        SetWindowPos(x(), y(), width(), WindowHeight(n));
        return;
    }
    const Preset* preset = PresetForKey(key);
    if (!preset) {
        return;
    }
    PanelsMode = preset->panelsMode;
    const int count = static_cast<int>(preset->panels.size());
    for (int p = 0; p < count; ++p) {
        Section[p] = preset->panels[static_cast<std::size_t>(p)].section;
    }
    for (int p = 0; p < count; ++p) {
        const PresetPanel& panel = preset->panels[static_cast<std::size_t>(p)];
        PlaceNumber(p, panel.numberLeft, panel.numberWidth);
    }
    for (int p = 0; p < count; ++p) {
        const PresetPanel& panel = preset->panels[static_cast<std::size_t>(p)];
        FunctionKeys(p, QLatin1String(panel.title), panel.redToGreen);
    }
    if (key == kF11) {
        ShowDriveLabel(7, kFirstDrive);
    }
    SetWindowPos(x(), y(), width(), preset->height);
}

// Gives a panel the title picture and colour direction of a title code. An unknown code
// (compared exactly, letter case included) changes nothing.
void FrmMain::FunctionKeys(int Index, const QString& WhichPanel, bool blnLeft) {
    const std::pair<QLatin1String, std::array<Picture*, kPanels>*> titles[] = {
        {QLatin1String("URP"), &imgURP}, {QLatin1String("URK"), &imgURK},
        {QLatin1String("URM"), &imgURM}, {QLatin1String("FRP"), &imgFRP},
        {QLatin1String("FRK"), &imgFRK}, {QLatin1String("FRM"), &imgFRM},
        {QLatin1String("TRK"), &imgTRK}, {QLatin1String("UD"), &imgUD},
    };
    const auto match = std::find_if(std::begin(titles), std::end(titles),
                                    [&](const auto& t) { return t.first == WhichPanel; });
    if (match == std::end(titles)) {
        return;
    }
    const auto p = static_cast<std::size_t>(Index);
    if (match->second == &imgUD) {
        lblDrv[p]->show();
        ShowTitle(Index, imgUD);
        DriveStep = static_cast<std::uint8_t>(Index);
    } else {
        lblDrv[p]->hide();
        ShowTitle(Index, *match->second);
    }
    ChangeColor(Index, blnLeft);
}

}  // namespace kelvane
