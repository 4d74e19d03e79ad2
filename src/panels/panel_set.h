// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>
#include <optional>

#include "core/controls.h"
#include "core/main_layout.h"
#include "core/readings.h"
#include "rules/reading_kinds.h"

namespace kelvane {

// The eight panels: which reading each shows (`Section`), the drive walk they share
// (`DriveStep`), and their controls. A panel's title picture, drive letter, number place and
// colours follow its reading, and only this class changes them.
class PanelSet {
  public:
    PanelSet(Controls& controls, const PerPanel<PanelControls>& panels, const Readings& readings);

    // The readings the settings hold; the controls follow at SetPanels.
    void Load(const PerPanel<SectionKind>& sections) { Section_ = sections; }
    const PerPanel<SectionKind>& Sections() const { return Section_; }

    // Start-up lays out each panel, one call a panel, for the reading it was loaded with.
    void SetPanels(int Index);
    // A tick: the panel's number and bar from this tick's readings.
    void SetWholeLights(int panel);
    // What the panel showed at the last tick that changed it: the figures its caption and bar
    // were drawn from, for its tooltip and for screen readers.
    const PanelResult& Result(int panel) const { return results_[static_cast<std::size_t>(panel)]; }

    // The LED bar and its colours.
    void SetLights(int i, int intPercent);
    void TurnOffLights(int i);
    void TurnOnLights(int i);
    void ChangeColor(int Index2, bool Right);

    // Which of its panel's eight title pictures a control is, or -1.
    int TitleAt(ControlId id) const;
    // A press on the title picture `title` of a panel moves the panel on, the drives through
    // the walk.
    void TitleMouseDown(int panel, int title);
    void imgURP_MouseDown(int Index);
    void imgURK_MouseDown(int Index);
    void imgURM_MouseDown(int Index);
    void imgFRP_MouseDown(int Index);
    void imgFRK_MouseDown(int Index);
    void imgFRM_MouseDown(int Index);
    void imgTRK_MouseDown(int Index);
    void imgUD_MouseDown(int Index);

    // A function key gives a panel a reading at a number place of its own; a drive also becomes
    // where the walk goes on from.
    void FunctionKeys(int Index, SectionKind code, NumberPlace place);

  private:
    // How a reading's colours come: start-up leaves used RAM in the window's design colours,
    // a title click recolours only where the scheme changes, a function key always.
    enum class Recolour { kAsAtStart, kIfSchemeChanges, kAlways };
    // The one place a panel is given a reading: its code, title, drive letter, number place
    // (kept where it is when none is given) and colours, in step.
    void Show(int panel, SectionKind code, std::optional<NumberPlace> place, Recolour recolour);
    void NextReading(int panel, SectionKind from);
    [[gnu::noinline]] void ShowReading(int panel, const PanelInputs& inputs);
    void ShowSegments(int panel, int lit);

    Controls& controls_;
    const PerPanel<PanelControls>& c_;
    const Readings& readings_;
    PerPanel<SectionKind> Section_{};
    std::uint8_t DriveStep = 0;
    PerPanel<PanelInputs> shownInputs_{};
    PerPanel<PanelResult> results_{};
    // Lit segments per bar as last written; -1 until then, so the first write looks at all.
    PerPanel<int> shownLit_ = [] {
        PerPanel<int> unknown{};
        unknown.fill(-1);
        return unknown;
    }();
};

}  // namespace kelvane
