// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRect>
#include <QWidget>

class QGroupBox;

namespace kelvane {

// The quick-help window: a fixed text, a Close button, Escape from any control. It is destroyed
// when closed, so each opening starts afresh, centred; all it learns across openings is the
// window manager's frame, to centre the next one at once.
class FrmHelp : public QWidget {
    Q_OBJECT
  public:
    // Its frame centred on `screen` (pixels).
    explicit FrmHelp(const QRect& screen);

    QPushButton* cmdClose = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    void CentreFrame();

    QRect screen_;
    bool framed_ = false;
};

}  // namespace kelvane
