// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "window/gauge_adapter.h"

namespace kelvane {

// The main window as assistive technologies see it: its buttons, its logo and its visible panels
// from the top left, each an accessible part of its own, since the view draws them all itself.
class AccessibleGauge : public QAccessibleWidget {
  public:
    // `owner` holds `adapter` and dies with the view; presses are queued on it.
    AccessibleGauge(QWidget* view, GaugeAdapter& adapter, QObject& owner);
    ~AccessibleGauge() override;

    bool isValid() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // Panel p's part, whether shown or not.
    QAccessibleInterface* Panel(int panel) const;

    GaugeAdapter& Adapter() const { return adapter_; }
    bool Shown() const { return widget()->isVisible(); }
    // `pixels` of the window on the screen.
    QRect OnScreen(const QRect& pixels) const;
    // Runs `act` from the event loop, as a click's handlers run: never inside an assistive
    // technology's call, which the act may outlive (the close button ends the program).
    void Later(std::function<void(GaugeAdapter&)> act) const;

  private:
    GaugeAdapter& adapter_;
    QPointer<QObject> owner_;
    std::vector<QAccessible::Id> parts_;  // the title strip's from left to right, then panels
};

// A part that the view draws: no object of its own, the gauge's window as its parent.
class AccessiblePart : public QAccessibleInterface {
  public:
    explicit AccessiblePart(const AccessibleGauge& gauge) : gauge_(gauge) {}

    bool isValid() const override { return gauge_.isValid(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return gauge_.window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override { return gauge_.OnScreen(Pixels()); }
    QAccessible::State state() const override;

  protected:
    // Where the part is drawn, in pixels from the window's corner.
    virtual QRect Pixels() const = 0;

    const AccessibleGauge& gauge_;
};

// A button of the title strip: its press action does what a click does.
class ButtonPart final : public AccessiblePart, public QAccessibleActionInterface {
  public:
    ButtonPart(const AccessibleGauge& gauge, GaugeButton button)
        : AccessiblePart(gauge), button_(button) {}

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override { return QAccessible::PushButton; }

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString& actionName) const override;

  private:
    QRect Pixels() const override { return gauge_.Adapter().ButtonRect(button_); }

    GaugeButton button_;
};

// The logo, which the mouse drags the window by.
class LogoPart final : public AccessiblePart {
  public:
    using AccessiblePart::AccessiblePart;

    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override { return QAccessible::Graphic; }

  private:
    QRect Pixels() const override { return gauge_.Adapter().LogoRect(); }
};

// A panel: its name says the reading, its value and text the figure as the caption shows it, and
// its action steps it to the next reading, as a click on its title does.
class PanelPart final : public AccessiblePart,
                        public QAccessibleValueInterface,
                        public QAccessibleTextInterface,
                        public QAccessibleActionInterface {
  public:
    PanelPart(const AccessibleGauge& gauge, int panel) : AccessiblePart(gauge), panel_(panel) {}

    bool isValid() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override { return QAccessible::ProgressBar; }
    QAccessible::State state() const override;

    // The figure, or nothing while it is unknown or the drive absent.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override;
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

    void selection(int, int* startOffset, int* endOffset) const override;
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

    QStringList actionNames() const override;
    QString localizedActionDescription(const QString& actionName) const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QRect Pixels() const override { return gauge_.Adapter().Panel(panel_).rect; }

    int panel_;
};

}  // namespace kelvane
