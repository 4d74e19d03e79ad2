// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include "core/window_frame.h"
#include "panels/panel_set.h"
#include "rules/presets.h"

namespace kelvane {

// The arrangement of a function key: F2 to F11 from the preset table, F12 every drive found,
// up to eight panels (nothing at all when none was found). Other keys arrange nothing.
void ArrangePanels(FunctionKey key, int drivesFound, PanelSet& panels, WindowFrame& frame);

}  // namespace kelvane
