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

// The quick-help window: a fixed text, a Close button, Escape from any control. It keeps no
// state and is destroyed when closed, so each opening starts afresh, centred.
class FrmHelp : public QWidget {
    Q_OBJECT
  public:
    // Centred on `screen` (pixels).
    explicit FrmHelp(const QRect& screen);

    QPushButton* cmdClose = nullptr;
    QGroupBox* Frame1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* Image2 = nullptr;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kelvane
