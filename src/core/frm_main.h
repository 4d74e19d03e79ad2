// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPointF>
#include <QString>
#include <QTimer>
#include <array>
#include <cstdint>
#include <string_view>

#include "core/controls.h"
#include "core/window_host.h"
#include "platform/platform.h"
#include "platform/settings_store.h"
#include "rules/reading_kinds.h"
#include "rules/reading_rules.h"
#include "rules/sections.h"

namespace kelvane {

// What the gauge needs of the system.
struct Platform {
    MemoryStatusSource& memory;
    VolumeSource& volumes;
    ScreenInfo& screen;
    SettingsStore& settings;
};

template <typename T>
using PerPanel = std::array<T, kPanels>;

// The gauge's main window as plain data: all of the gauge's state and its controls, and the
// procedures over them, spread over the subsystem folders. It needs no display: a view
// (src/window/) shows the controls, hands it the user's input and reports where the window
// is.
class FrmMain {
  public:
    explicit FrmMain(Platform platform);
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;

    // The view that shows this window; until one is attached the window is not shown.
    void AttachHost(WindowHost& host);

    // Start-up and shutdown.
    void GetMySettings();
    void SaveMySettings();
    void Form_Load();
    void Timer1_Timer();
    void Form_Unload();
    void CloseAction();
    // The window moved, or the user changed what is saved: the settings are written a
    // second after the last such change.
    void SettingsMayHaveChanged();
    bool SavePending() const { return saveTimer_.isActive(); }

    // Readings.
    void FindHowManyDrives();
    void SetWholeDrive(int panel);
    void SetWholeLights(int panel);

    // LED bar, colours, layout.
    void SetLights(int i, int intPercent);
    void TurnOffLights(int i);
    void TurnOnLights(int i);
    void ChangeColor(int Index2, bool Right);
    void SetPanels(int Index);

    // Title clicks.
    void imgURP_MouseDown(int Index);
    void imgURK_MouseDown(int Index);
    void imgURM_MouseDown(int Index);
    void imgFRP_MouseDown(int Index);
    void imgFRK_MouseDown(int Index);
    void imgFRM_MouseDown(int Index);
    void imgTRK_MouseDown(int Index);
    void imgUD_MouseDown(int Index);

    // Keyboard presets: `key` is the virtual-key code (112 for F1 ... 123 for F12).
    void Form_KeyDown(int key);
    void FunctionKeys(int Index, std::string_view WhichPanel, bool blnLeft);

    // The window's own controls. Mouse positions are in twips, relative to the control.
    void Image1_MouseDown(QPointF twips);
    void Image1_MouseMove(Qt::MouseButtons buttons, QPointF twips);
    void Image1_Click();
    void Image1_DblClick();
    void imgMin1_MouseDown();
    void imgMin1_MouseUp();
    void imgClose2_MouseDown();
    void imgClose2_MouseUp();
    void imgHelp1_MouseDown();
    void imgHelp1_MouseUp();
    void Label1_Click();
    void Label2_Click();
    void Label3_Click();

    // The mouse over the window, positions in pixels from its upper-left corner. A press
    // goes to the control it lands on, and the moves and releases that follow go to the same
    // control until every button is up.
    void MouseDown(QPointF pixels, bool doubleClick);
    void MouseMove(QPointF pixels, Qt::MouseButtons buttons);
    void MouseUp(QPointF pixels, Qt::MouseButtons buttonsStillDown);

    // The geometry of the screen that holds the centre of `window`, or the primary screen's.
    QRect ScreenOf(const QRect& window) const;
    // Where panel p's strip (its LED and caption rows) lies, in pixels; the panel whose strip
    // holds `pixels`, or -1; and what the panel's reading is.
    QRect PanelStrip(int panel) const;
    int PanelAt(QPoint pixels) const;
    QString PanelToolTip(int panel) const;
    // Where the volume of panel p's drive is mounted; empty for a memory reading or a letter
    // that names no volume.
    QString DriveMountPoint(int panel) const;

    // State.
    std::int32_t StartLeft = 0;  // twips
    std::int32_t StartTop = 0;   // twips
    PerPanel<std::uint8_t> Section{};
    std::uint8_t PanelsMode = 0;
    std::uint8_t DriveCount = 0;
    std::uint8_t DriveStep = 0;
    std::array<std::int16_t, kDriveLetters> DriveUsedPercent{};
    MemoryStatus MemStatus;
    std::int16_t FreePercent = 0;
    std::int32_t lngLeft = 0;   // pixels
    std::int32_t lngTop = 0;    // pixels
    std::int16_t intDragX = 0;  // twips
    std::int16_t intDragY = 0;  // twips

    // Controls, as the window's layout makes them; per-panel controls are indexed by panel
    // and imgRamUse[n - 1] is imgRamUse_nn. Titles holds a panel's eight title pictures in
    // the order of the reading kinds (imgURP ... imgUD).
    Controls controls;
    QTimer Timer1;
    ControlId Label1{}, Label2{}, Label3{};
    ControlId imgHelp1{}, imgHelp2{};
    std::array<PerPanel<ControlId>, kSegments> imgRamUse{};
    PerPanel<ControlId> imgG2R{}, imgR2G{}, lblInfo{}, lblDrv{};
    ControlId imgMin1{}, imgMin2{}, imgClose2{}, imgClose3{};
    std::array<PerPanel<ControlId>, kTitles> Titles{};
    PerPanel<ControlId>&imgURP = Titles[0], &imgURK = Titles[1], &imgURM = Titles[2],
    &imgFRP = Titles[3], &imgFRK = Titles[4], &imgFRM = Titles[5], &imgTRK = Titles[6],
    &imgUD = Titles[7];
    ControlId Shape1{}, Image1{};

  private:
    void CreateControls();
    void NextReading(int panel, int from);
    int TitleAt(ControlId id) const;
    void ShowTitle(int panel, int title);
    void ShowSegments(int panel, int lit);
    void PlaceNumber(int panel, NumberPlace place);
    void ShowDriveLabel(int panel, int code);
    void RememberPosition();
    void PinTo(QPoint place);
    void ApplyPreset(int key);
    void ApplyDriveKey();
    // The values the settings hold for the window as it is now.
    std::array<std::int64_t, 11> SettingsNow() const;

    Platform platform_;
    WindowHost* host_ = nullptr;
    std::array<bool, kDriveLetters> driveAbsent_{};
    bool memoryKnown_ = false;
    bool loaded_ = false;
    bool unloaded_ = false;
    std::string decimalPoint_;
    PerPanel<PanelInputs> shownInputs_{};
    // Lit segments per bar as last written; -1 until then, so the first write looks at all.
    PerPanel<int> shownLit_ = [] {
        PerPanel<int> unknown{};
        unknown.fill(-1);
        return unknown;
    }();
    ControlId pressed_ = kNoControl;
    bool clickPending_ = false;
    QTimer saveTimer_;
    std::array<std::int64_t, 11> saved_{};
};

}  // namespace kelvane
