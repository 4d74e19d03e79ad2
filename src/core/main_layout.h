// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>

#include "core/controls.h"
#include "rules/counts.h"
#include "rules/reading_kinds.h"

namespace kelvane {

template <typename T>
using PerPanel = std::array<T, kPanels>;

// One panel's controls: its eight title pictures in the order of the reading kinds (imgURP
// ... imgUD), its 27 LED segments from the left (imgRamUse_01 ... imgRamUse_27), the two
// colour-direction pictures behind them, its number and its drive letter.
struct PanelControls {
    std::array<ControlId, kTitles> titles{};
    std::array<ControlId, kSegments> segments{};
    ControlId imgG2R{}, imgR2G{}, lblInfo{}, lblDrv{};
};

// The main window's controls as its layout makes them.
struct MainLayout {
    ControlId Image1{}, Shape1{};
    ControlId imgClose2{}, imgClose3{}, imgMin1{}, imgMin2{}, imgHelp1{}, imgHelp2{};
    ControlId Label1{}, Label2{}, Label3{};
    PerPanel<PanelControls> panels{};
};

// Adds the main window's controls to `controls`, from the back to the front.
MainLayout MakeMainLayout(Controls& controls);

}  // namespace kelvane
