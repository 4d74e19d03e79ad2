#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <array>
#include <cstdint>

#include "core/number_text.h"
#include "core/reading_rules.h"
#include "display/sections.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "window/controls.h"

namespace kelvane {

class FrmHelp;

// What the main window needs of the system.
struct Platform {
    MemoryStatusSource& memory;
    VolumeSource& volumes;
    ScreenInfo& screen;
    SettingsStore& settings;
};

// The gauge's main window. All of the gauge's state lives here; its procedures are spread
// over the subsystem folders (core/, display/, presets/, settings/, window/).
class FrmMain : public QWidget {
    Q_OBJECT
  public:
    explicit FrmMain(Platform platform, QWidget* parent = nullptr);
    ~FrmMain() override;

    // Start-up and shutdown.
    void GetMySettings();
    void SaveMySettings();
    void Form_Load();
    void Timer1_Timer();
    void Form_Unload();
    void CloseAction();

    // Readings.
    void FindHowManyDrives();
    void SetWholeDrive(int panel);
    void SetWholeLights(int panel);

    // LED bar and colours.
    void SetLights(int i, int intPercent);
    void TurnOffLights(int i);
    void TurnOnLights(int i);
    void ChangeColor(int Index2, bool Right);
    void SetPanels(int Index);
    // What the panel's reading is: the drive's mount point, or how the figure is made.
    QString PanelToolTip(int panel) const;

    // Title clicks.
    void imgURP_MouseDown(int Index);
    void imgURK_MouseDown(int Index);
    void imgURM_MouseDown(int Index);
    void imgFRP_MouseDown(int Index);
    void imgFRK_MouseDown(int Index);
    void imgFRM_MouseDown(int Index);
    void imgTRK_MouseDown(int Index);
    void imgUD_MouseDown(int Index);

    // Keyboard presets.
    void Form_KeyDown(int key);
    void FunctionKeys(int Index, const QString& WhichPanel, bool blnLeft);

    // Window controls.
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
    void ShowHelp();
    FrmHelp* HelpWindow() const;

    // Places the window in pixels above all normal windows, shown, without taking focus.
    void SetWindowPos(int x, int y, int cx, int cy);

    // State.
    std::int32_t StartLeft = 0;  // twips
    std::int32_t StartTop = 0;   // twips
    std::uint8_t Section[kPanels] = {};
    std::uint8_t PanelsMode = 0;
    std::uint8_t DriveCount = 0;
    std::uint8_t DriveStep = 0;
    std::int16_t DriveUsedPercent[kDriveLetters] = {};
    MemoryStatus MemStatus;
    std::int16_t FreePercent = 0;
    std::int32_t lngLeft = 0;   // pixels
    std::int32_t lngTop = 0;    // pixels
    std::int16_t intDragX = 0;  // twips
    std::int16_t intDragY = 0;  // twips

    // Controls. Per-panel controls are indexed by panel; imgRamUse[n - 1] is imgRamUse_nn.
    QTimer* Timer1 = nullptr;
    ClickLabel* Label1 = nullptr;
    ClickLabel* Label2 = nullptr;
    ClickLabel* Label3 = nullptr;
    Picture* imgHelp1 = nullptr;
    Picture* imgHelp2 = nullptr;
    std::array<std::array<LedSegment*, kPanels>, kSegments> imgRamUse{};
    std::array<Picture*, kPanels> imgG2R{};
    std::array<Picture*, kPanels> imgR2G{};
    std::array<QLabel*, kPanels> lblInfo{};
    std::array<QLabel*, kPanels> lblDrv{};
    Picture* imgMin1 = nullptr;
    Picture* imgMin2 = nullptr;
    Picture* imgClose2 = nullptr;
    Picture* imgClose3 = nullptr;
    std::array<Picture*, kPanels> imgURP{};
    std::array<Picture*, kPanels> imgURK{};
    std::array<Picture*, kPanels> imgURM{};
    std::array<Picture*, kPanels> imgFRP{};
    std::array<Picture*, kPanels> imgFRK{};
    std::array<Picture*, kPanels> imgFRM{};
    std::array<Picture*, kPanels> imgTRK{};
    std::array<Picture*, kPanels> imgUD{};
    OutlineBox* Shape1 = nullptr;
    Picture* Image1 = nullptr;

  signals:
    // The main window has been unloaded: the program is to end.
    void unloaded();

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void CreateControls();
    void CreatePanelControls(int p);
    void ConnectControls();
    void ShowTitle(int panel, const std::array<Picture*, kPanels>& title);
    void SetCaption(int panel, const CaptionText& caption);
    void ShowSegments(int panel, int lit);
    void PlaceNumber(int panel, int left, int width);
    void ShowDriveLabel(int panel, int code);
    void RememberPosition();

    Platform platform_;
    QPointer<FrmHelp> help_;
    bool memoryKnown_ = false;
    bool unloaded_ = false;
    QByteArray decimalPoint_;
    std::array<CaptionText, kPanels> shownCaption_{};
    std::array<PanelInputs, kPanels> shownInputs_{};
    // Lit segments per bar as last written; -1 until then, so the first write looks at all.
    std::array<int, kPanels> shownLit_ = [] {
        std::array<int, kPanels> unknown{};
        unknown.fill(-1);
        return unknown;
    }();
};

}  // namespace kelvane
