// A panel's title, drive label, number place and colours for its reading, at start-up.

#include "window/frm_main.h"

namespace kelvane {
namespace {

enum class Scheme { Keep, RedToGreen, GreenToRed };

struct KindLayout {
    std::array<Picture*, kPanels> FrmMain::*title;
    int numberLeft;  // twips
    int numberWidth;
    Scheme scheme;
};

// Free RAM percent has no start-up place of its own; it takes the one a title click gives it.
constexpr KindLayout kLayouts[] = {
    {&FrmMain::imgURP, 1400, 530, Scheme::Keep},
    {&FrmMain::imgURK, 1080, 900, Scheme::Keep},
    {&FrmMain::imgURM, 1110, 900, Scheme::Keep},
    {&FrmMain::imgFRP, 1400, 530, Scheme::RedToGreen},
    {&FrmMain::imgFRK, 1150, 830, Scheme::RedToGreen},
    {&FrmMain::imgFRM, 1180, 830, Scheme::RedToGreen},
    {&FrmMain::imgTRK, 1120, 900, Scheme::RedToGreen},
};
constexpr KindLayout kDriveLayout = {&FrmMain::imgUD, 1070, 900, Scheme::GreenToRed};

}  // namespace

void FrmMain::SetPanels(int Index) {
    const int code = Section[Index];
    if (!IsMemoryKind(code) && !IsDriveKind(code)) {
        return;
    }
    const KindLayout& layout = IsDriveKind(code) ? kDriveLayout : kLayouts[code];
    ShowTitle(Index, this->*layout.title);
    if (IsDriveKind(code)) {
        ShowDriveLabel(Index, code);
    } else {
        lblDrv[static_cast<std::size_t>(Index)]->hide();
    }
    PlaceNumber(Index, layout.numberLeft, layout.numberWidth);
    if (layout.scheme != Scheme::Keep) {
        ChangeColor(Index, layout.scheme == Scheme::RedToGreen);
    }
}

// Exactly one title picture of the panel is left visible.
void FrmMain::ShowTitle(int panel, const std::array<Picture*, kPanels>& title) {
    const auto p = static_cast<std::size_t>(panel);
    for (auto* titles : {&imgURP, &imgURK, &imgURM, &imgFRP, &imgFRK, &imgFRM, &imgTRK, &imgUD}) {
        (*titles)[p]->setVisible(titles == &title);
    }
}

void FrmMain::PlaceNumber(int panel, int left, int width) {
    QLabel* label = lblInfo[static_cast<std::size_t>(panel)];
    SetLeftTwips(label, left);
    SetWidthTwips(label, width);
}

void FrmMain::ShowDriveLabel(int panel, int code) {
    QLabel* label = lblDrv[static_cast<std::size_t>(panel)];
    label->setText(QStringLiteral("%1:").arg(QLatin1Char(DriveLetter(code))));
    label->show();
    SetLeftTwips(label, 870);
}

}  // namespace kelvane
