// The main window's own controls: dragging by the logo, the size cycle, the pins, and the
// help and close buttons with their pressed faces.

#include <cmath>

#include "core/panels_mode.h"
#include "window/frm_help.h"
#include "window/frm_main.h"

namespace kelvane {
namespace {

struct SizeStep {
    std::uint8_t code;  // 0: no change
    int height;
};

// The size cycle steps through 1, 3, 6 and 8 panels. Its six-panel step stores code 3, which
// start-up reads as five panels.
SizeStep SizeButtonStep(int panelsMode) {
    switch (panelsMode) {
        case 1:
            return {2, 103};
        case 2:
            return {3, 190};
        case 3:
            return {4, 248};
        case 4:
            return {1, 45};
        default:
            return {0, 0};
    }
}

SizeStep LogoDoubleClickStep(int panelsMode) {
    switch (panelsMode) {
        case 5:
            return {2, 103};
        case 6:
            return {4, 248};
        case 7:
            return {3, 190};
        case 8:
            return {4, 248};
        default:
            return SizeButtonStep(panelsMode);
    }
}

std::int16_t WholeTwips(double twips) {
    const double rounded = RoundHalfEven(twips);
    return static_cast<std::int16_t>(std::clamp(rounded, -32768.0, 32767.0));
}

}  // namespace

void FrmMain::ConnectControls() {
    const std::array<std::pair<std::array<Picture*, kPanels>*, void (FrmMain::*)(int)>, 8>
        titleHandlers = {{
            {&imgURP, &FrmMain::imgURP_MouseDown},
            {&imgURK, &FrmMain::imgURK_MouseDown},
            {&imgURM, &FrmMain::imgURM_MouseDown},
            {&imgFRP, &FrmMain::imgFRP_MouseDown},
            {&imgFRK, &FrmMain::imgFRK_MouseDown},
            {&imgFRM, &FrmMain::imgFRM_MouseDown},
            {&imgTRK, &FrmMain::imgTRK_MouseDown},
            {&imgUD, &FrmMain::imgUD_MouseDown},
        }};
    for (const auto& [titles, handler] : titleHandlers) {
        for (int p = 0; p < kPanels; ++p) {
            Picture* title = (*titles)[static_cast<std::size_t>(p)];
            title->SetInteractive(true);
            connect(title, &Picture::pressed, this,
                    [this, handler = handler, p] { (this->*handler)(p); });
        }
    }

    Image1->SetInteractive(true);
    Image1->SetDoubleClickIsPress(false);
    connect(Image1, &Picture::pressed, this,
            [this](Qt::MouseButton, QPointF twips) { Image1_MouseDown(twips); });
    connect(Image1, &Picture::moved, this, &FrmMain::Image1_MouseMove);
    connect(Image1, &Picture::clicked, this, &FrmMain::Image1_Click);
    connect(Image1, &Picture::doubleClicked, this, &FrmMain::Image1_DblClick);

    const std::array<std::tuple<Picture*, void (FrmMain::*)(), void (FrmMain::*)()>, 3> buttons = {{
        {imgMin1, &FrmMain::imgMin1_MouseDown, &FrmMain::imgMin1_MouseUp},
        {imgClose2, &FrmMain::imgClose2_MouseDown, &FrmMain::imgClose2_MouseUp},
        {imgHelp1, &FrmMain::imgHelp1_MouseDown, &FrmMain::imgHelp1_MouseUp},
    }};
    for (const auto& [button, down, up] : buttons) {
        button->SetInteractive(true);
        connect(button, &Picture::pressed, this, [this, down = down] { (this->*down)(); });
        connect(button, &Picture::released, this, [this, up = up] { (this->*up)(); });
    }

    connect(Label1, &ClickLabel::clicked, this, &FrmMain::Label1_Click);
    connect(Label2, &ClickLabel::clicked, this, &FrmMain::Label2_Click);
    connect(Label3, &ClickLabel::clicked, this, &FrmMain::Label3_Click);
}

void FrmMain::Image1_MouseDown(QPointF twips) {
    intDragX = WholeTwips(twips.x());
    intDragY = WholeTwips(twips.y());
}

// Only the left button alone drags; the window follows so that the grabbed point stays
// under the pointer. The drag is not limited to the screen.
void FrmMain::Image1_MouseMove(Qt::MouseButtons buttons, QPointF twips) {
    if (buttons != Qt::LeftButton) {
        return;
    }
    const double left = x() * 15.0 + twips.x() - intDragX;
    const double top = y() * 15.0 + twips.y() - intDragY;
    move(TwipsToPixels(left), TwipsToPixels(top));
}

void FrmMain::Image1_Click() {
    RememberPosition();
}

// The size cycle places the window where it stood at the last logo click, size-button press
// or pin, not where it stands when the cycle steps.
void FrmMain::RememberPosition() {
    lngLeft = x();
    lngTop = y();
}

// Steps the size cycle (the click that began the double-click took the position), then lifts the
// window so that it does not reach below its screen.
void FrmMain::Image1_DblClick() {
    if (const SizeStep step = LogoDoubleClickStep(PanelsMode); step.code != 0) {
        PanelsMode = step.code;
        SetWindowPos(lngLeft, lngTop, kWindowWidth, step.height);
    }
    const QRect screen = platform_.screen.GeometryAt(geometry().center());
    const int screenBottom = screen.y() + screen.height();
    if (screenBottom - y() - height() < 0) {
        move(x(), screenBottom - height());
    }
}

void FrmMain::imgMin1_MouseDown() {
    imgMin2->show();
    RememberPosition();
}

void FrmMain::imgMin1_MouseUp() {
    imgMin2->hide();
    if (const SizeStep step = SizeButtonStep(PanelsMode); step.code != 0) {
        PanelsMode = step.code;
        SetWindowPos(lngLeft, lngTop, kWindowWidth, step.height);
    }
}

void FrmMain::imgClose2_MouseDown() {
    imgClose3->show();
}

void FrmMain::imgClose2_MouseUp() {
    CloseAction();
}

void FrmMain::imgHelp1_MouseDown() {
    imgHelp2->show();
}

void FrmMain::imgHelp1_MouseUp() {
    imgHelp2->hide();
    ShowHelp();
}

// The pins use the edges of the screen that holds the window.
void FrmMain::Label1_Click() {
    move(platform_.screen.GeometryAt(geometry().center()).x(), y());
    RememberPosition();
}

void FrmMain::Label2_Click() {
    const QRect screen = platform_.screen.GeometryAt(geometry().center());
    move(screen.x() + screen.width() - width(), y());
    RememberPosition();
}

void FrmMain::Label3_Click() {
    move(x(), platform_.screen.GeometryAt(geometry().center()).y());
    RememberPosition();
}

void FrmMain::ShowHelp() {
    if (!help_) {
        help_ = new FrmHelp(platform_.screen.GeometryAt(geometry().center()));
    }
    help_->show();
    help_->raise();
    help_->activateWindow();
}

FrmHelp* FrmMain::HelpWindow() const {
    return help_;
}

}  // namespace kelvane
