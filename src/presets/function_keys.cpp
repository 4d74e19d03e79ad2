// The keyboard: F1 for help, F2 to F12 for fixed arrangements.

#include "window/frm_main.h"

namespace kelvane {

void FrmMain::Form_KeyDown(int) {}
void FrmMain::FunctionKeys(int, const QString&, bool) {}

}  // namespace kelvane
