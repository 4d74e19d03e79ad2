// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPixmap>
#include <QPointer>
#include <QWidget>
#include <array>
#include <vector>

#include "gauge/frm_main.h"
#include "window/gauge_adapter.h"
#include "window/glyph_cache.h"

namespace kelvane {

class FrmHelp;

// The main window on screen: one widget that draws the gauge's controls in stacking order,
// repainting only the rectangles that changed, and hands the user's mouse and keys to the
// gauge. It is the gauge's window host, and loads the help window.
class MainView : public QWidget, public WindowHost {
    Q_OBJECT
  public:
    explicit MainView(FrmMain& gauge);
    ~MainView() override;

    bool PositionKnown() const override;
    void SetWindowPos(const QRect& rect) override;
    void Move(QPoint topLeft) override;
    void BringToFront() override;
    void ShowHelp() override;
    void UnloadAll() override;
    FrmHelp* HelpWindow() const;
    // Where the keyboard is, in the order Tab walks: the six buttons from the left
    // (GaugeButton), then the visible panels from the top, kGaugeButtons + panel; -1 until Tab
    // is first pressed.
    int KeyFocus() const;

  signals:
    // The main window has been unloaded: the program is to end.
    void unloaded();
    // A key, a click or a press may have changed what the window shows or where it stands.
    void acted();
    // Tab or Shift+Tab moved the keyboard, or the window took the focus again.
    void keyFocusMoved();

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The artwork of a picture; all controls of an array share it.
    struct Picture {
        QString name;
        QPixmap normal;
        QPixmap dense;   // the @2x artwork, loaded when a high-density screen first shows it
        QPixmap scaled;  // at a ratio of neither 1 nor 2, made from the @2x artwork
    };
    static const QPixmap& Artwork(Picture& picture, qreal ratio);
    struct Look {
        int picture = -1;
        const QFont* font = nullptr;
        GlyphCache* glyphs = nullptr;
    };
    void Paint(QPainter& painter, ControlId id, const QRect& area);
    // Tells the gauge where the window system has the window.
    void ReportPlace();
    // The part at `focus` in the Tab order, in pixels; and a press on it, as a click does.
    QRect FocusRect(int focus) const;
    void PressFocused();
    void ShowFocus(bool shown);

    FrmMain& gauge_;
    GaugeAdapter adapter_;
    int keyFocus_ = -1;
    // The keyboard's place is drawn once Tab has been used, until the mouse is pressed.
    bool focusShown_ = false;
    bool watched_ = false;
    bool placeFromWindowSystem_ = false;
    QPointer<FrmHelp> help_;
    QFont driveLetterFont_;
    QFont arrowFont_;
    GlyphCache numbers_;
    GlyphCache narrowNumbers_;
    std::vector<Picture> pictures_;
    std::vector<Look> looks_;  // by control
    // The controls that reach into the title strip and into each panel's strip, from the
    // back to the front: a repaint only looks at the strips it touches.
    std::array<std::vector<ControlId>, kPanels + 1> strips_;
};

}  // namespace kelvane
