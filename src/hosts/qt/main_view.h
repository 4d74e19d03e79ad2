// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAbstractNativeEventFilter>
#include <QPointer>
#include <QWidget>

#include "accessibility/accessible_view.h"
#include "drawing/qt/qt_drawing.h"
#include "drawing/x11/x11_presenter.h"
#include "gauge/frm_main.h"
#include "gauge/gauge_adapter.h"
#include "gauge/key_focus.h"
#include "hosts/common/gauge_host.h"

namespace kelvane {

// The main window on an X11 screen (or wherever Qt's own windows go): one widget that shows the
// gauge's drawing, repainting only the rectangles that changed (on the X server's side where
// it can, through Qt's repaint elsewhere), and hands the user's mouse and keys to the gauge.
// It is the gauge's window host, and loads the help window.
class MainView : public AccessibleView, public GaugeHost {
    Q_OBJECT
  public:
    explicit MainView(FrmMain& gauge);
    ~MainView() override;

    bool PositionKnown() const override;
    void SetWindowPos(const Rect& rect) override;
    void Move(Point topLeft) override;
    void BringToFront() override;
    void ShowWindow() override;
    int KeyFocus() const override;
    void FocusOn(int focus) override;
    // Draws what changed since the last time: on the X server's side where it can, through
    // Qt's repaint where it cannot. Called before the event loop waits, once a pass.
    void PresentChanges();

  protected:
    bool event(QEvent* event) override;
    void KeepKeyboardFromStrayClick();
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
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
    void ReleaseWindow() override;
    // Tells the gauge where the window system has the window.
    void ReportPlace();
    // The part at `focus` in the Tab order, in pixels.
    QRect FocusRect(int focus) const;
    void ShowFocus(bool shown);

    GaugeAdapter adapter_;
    kelvane::KeyFocus keys_;
    bool watched_ = false;
    bool placeFromWindowSystem_ = false;
    bool closing_ = false;
    QtDrawing drawing_;
    X11Presenter presenter_;
    // What changed since the last presentation, kept until the controls have their new state
    // (a control reports the pixels it leaves before it has moved).
    std::array<Rect, 64> changed_{};
    std::size_t changes_ = 0;
    std::unique_ptr<QAbstractNativeEventFilter> exposeWatch_;
    bool paintingKnown_ = false;
};

}  // namespace kelvane
