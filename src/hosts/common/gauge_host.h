// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QPointer>
#include <QString>
#include <functional>

#include "core/window_host.h"

namespace kelvane {

class FrmHelp;
class FrmMain;

// A host that shows the gauge through Qt: the Qt widget, or a Wayland layer surface. What every
// such host does alike is written here once: the help window, the unload sequence, the tooltip.
class GaugeHost : public WindowHost {
  public:
    explicit GaugeHost(FrmMain& gauge) : gauge_(gauge) {}
    ~GaugeHost() override;

    // Shows the main window where loading it has not shown it already (a size code outside
    // the table leaves it where it was designed).
    virtual void ShowWindow() = 0;
    // Unloads every window of the program, as the close button does.
    void UnloadAll() final;
    // Calls `unloaded` once the main window has been unloaded: the program is to end.
    void OnUnloaded(std::function<void()> unloaded) { unloaded_ = std::move(unloaded); }

    void ShowHelp() final;
    FrmHelp* HelpWindow() const;

  protected:
    // Lets the window go, once the gauge has saved and the help window has closed.
    virtual void ReleaseWindow() = 0;
    // Before the help window shows: a host gives it the keyboard where it holds it.
    virtual void HelpShowing() {}
    // What the tooltip of the panel at `pixels` says; empty where there is none.
    QString ToolTipAt(Point pixels) const;
    // A tooltip's text as Qt is to show it.
    static QString AsToolTip(const QString& text);

    FrmMain& gauge_;

  private:
    QPointer<FrmHelp> help_;
    std::function<void()> unloaded_;
    bool unloading_ = false;
};

}  // namespace kelvane
