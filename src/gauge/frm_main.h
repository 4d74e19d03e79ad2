// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string_view>

#include "core/controls.h"
#include "core/main_layout.h"
#include "core/mouse_buttons.h"
#include "core/readings.h"
#include "core/system.h"
#include "core/window_frame.h"
#include "core/window_host.h"
#include "panels/panel_set.h"
#include "rules/presets.h"
#include "settings/my_settings.h"

namespace kelvane {

// The gauge's main window as plain data: its controls and the parts that own its state (the
// readings, the panels, the window's place and size, what is saved), with the procedures a
// user's actions and the clock call. It needs no display: a host (src/hosts/) shows the
// controls, hands it the user's input, ticks it and tells it where the window is.
class FrmMain {
  public:
    explicit FrmMain(System system);
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    // The view that shows this window; until one is attached the window is not shown.
    void AttachHost(WindowHost& host);

    // Start-up, the refresh tick and shutdown.
    void GetMySettings();
    void Form_Load();
    void Timer1_Timer();
    void Form_Unload();
    // The settings written now, and waited for.
    void SaveMySettings();
    void FlushSettings();

    // The mouse over the window, positions in pixels from its upper-left corner; a move's on
    // the screen. A press goes to the control it lands on, and the moves and releases that
    // follow go to the same control until every button is up.
    void MouseDown(PointF pixels, bool doubleClick);
    void MouseMove(PointF screen, MouseButtons buttons);
    void MouseUp(PointF pixels, MouseButtons buttonsStillDown);
    // F1 for help, F2 to F12 for the arrangements.
    void Form_KeyDown(FunctionKey key);
    // What the window's controls do, whoever asks (the mouse, the keyboard, an assistive
    // technology): panel p steps to its next reading, the height steps on, the window is pinned
    // to an edge, the help opens, the gauge closes.
    void NextReading(int panel);
    void StepSize();
    void PinLeft();
    void PinTop();
    void PinRight();
    void OpenHelp();
    void CloseGauge();
    // Whether an assistive technology's press of a part goes ahead. A screen reader that clicks
    // a part may not see its click land (it asks where the pointer is before the X server has
    // moved it there) and presses the part by its action as well, while its clicks land a
    // moment later: a press by an action and a press of the mouse within a moment of each
    // other are one press, the first.
    bool TakeAssistedPress();
    // Whether an assistive technology pressed a part a moment ago, or tried to while its own
    // click did (within the time that makes its late clicks one press with it).
    bool AssistedPressJustNow() const;

    // What the window system says: the window is at `rect` now; the screens changed; a later
    // start asks for the gauge.
    void WindowMoved(const Rect& rect);
    void ScreensChanged() { frame_.ScreensChanged(); }
    void ComeBack() { frame_.ComeBack(); }

    // What the view shows, and where it learns what to repaint.
    const Controls& controls() const { return controls_; }
    void OnRepaint(std::function<void(const Rect&)> repaint) {
        controls_.OnRepaint(std::move(repaint));
    }
    const MainLayout& layout() const { return layout_; }
    Rect ScreenOf(const Rect& window) const { return frame_.ScreenOf(window); }
    // Where the window system last said the window is.
    const Rect& WindowPlace() const { return frame_.Where(); }
    int PanelsShown() const;
    SectionKind Section(int panel) const {
        return panels_.Sections()[static_cast<std::size_t>(panel)];
    }
    // The panel whose strip holds `pixels`, or -1.
    static int PanelAt(Point pixels);
    // What the panel showed at the last tick: its reading, figure, unit and caption, where its
    // bar is full, and a drive's volume.
    const PanelResult& Shown(int panel) const { return panels_.Result(panel); }

  private:
    // The values the settings hold for the window as it is now.
    SavedSettings SettingsNow() const;
    // The window moved, or the user changed what is saved: written a second after the last.
    void SettingsMayHaveChanged();

    System system_;
    WindowHost* host_ = nullptr;
    Controls controls_;
    const MainLayout layout_;
    Readings readings_;
    PanelSet panels_;
    WindowFrame frame_;
    SavedSettings loaded_;
    SaveSchedule schedule_;
    bool started_ = false;
    bool unloaded_ = false;
    ControlId pressed_ = kNoControl;
    bool clickPending_ = false;
    // Where on the screen the click that last pinned the window was. A press there again is
    // aimed at where the pin was seen, not at what the window has brought there since (a screen
    // reader that clicks again, late, after the window moved, may find the close button there):
    // it is not taken until a press lands anywhere else.
    std::optional<PointF> pinnedFrom_;
    // When the mouse or an assistive technology last pressed.
    std::optional<std::chrono::milliseconds> mousePressed_;
    std::optional<std::chrono::milliseconds> assistedPress_;
    std::optional<std::chrono::milliseconds> assistedAsked_;
};

}  // namespace kelvane
