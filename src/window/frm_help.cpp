#include "window/frm_help.h"

namespace kelvane {

FrmHelp::FrmHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Help"));
    setAttribute(Qt::WA_DeleteOnClose);
}

}  // namespace kelvane
