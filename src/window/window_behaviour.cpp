// The main window's own controls: logo, size button, pins, help and close buttons.

#include "window/frm_help.h"
#include "window/frm_main.h"

namespace kelvane {

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
            connect(title, &Picture::pressed, this, [this, handler, p] { (this->*handler)(p); });
        }
    }

    imgClose2->SetInteractive(true);
    connect(imgClose2, &Picture::pressed, this, &FrmMain::imgClose2_MouseDown);
    connect(imgClose2, &Picture::released, this, &FrmMain::imgClose2_MouseUp);
}

void FrmMain::Image1_MouseDown(QPointF) {}
void FrmMain::Image1_MouseMove(Qt::MouseButtons, QPointF) {}
void FrmMain::Image1_Click() {}
void FrmMain::Image1_DblClick() {}
void FrmMain::imgMin1_MouseDown() {}
void FrmMain::imgMin1_MouseUp() {}
void FrmMain::imgClose2_MouseDown() {}
void FrmMain::imgClose2_MouseUp() { CloseAction(); }
void FrmMain::imgHelp1_MouseDown() {}
void FrmMain::imgHelp1_MouseUp() {}
void FrmMain::Label1_Click() {}
void FrmMain::Label2_Click() {}
void FrmMain::Label3_Click() {}
void FrmMain::ShowHelp() {}
FrmHelp* FrmMain::HelpWindow() const { return help_; }

}  // namespace kelvane
