// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "presets/function_keys.h"

#include <algorithm>

#include "rules/panels_mode.h"

namespace kelvane {

void ArrangePanels(FunctionKey key, int drivesFound, PanelSet& panels, WindowFrame& frame) {
    if (key == kDrivesKey) {
        const int n = std::min(drivesFound, kPanels);
        if (n < 1) {
            return;
        }
        for (int k = 0; k < n; ++k) {
            panels.FunctionKeys(k, DriveKind(k), KindOf(kFirstDrive).atStart);
        }
        frame.Resize(PanelsModeFor(n), n);
        return;
    }
    const Preset* preset = PresetForKey(key);
    if (preset == nullptr) {
        return;
    }
    const int count = static_cast<int>(preset->panels.size());
    for (int p = 0; p < count; ++p) {
        const PresetPanel& panel = preset->panels[static_cast<std::size_t>(p)];
        panels.FunctionKeys(p, panel.section, panel.place);
    }
    frame.Resize(preset->panelsMode, PanelsShown(preset->panelsMode));
}

}  // namespace kelvane
