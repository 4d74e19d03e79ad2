#pragma once

#include <QFont>

namespace kelvane {

// The window's small sans-serif font, sized so that the widest number a panel can show on a
// 64 GiB machine ("67108864 KB") fits the 60-pixel number label.
QFont NumberFont();
// The drive letter's font: the same size, bold.
QFont DriveLetterFont();
// The pin arrows of the title strip.
QFont ArrowFont();

}  // namespace kelvane
