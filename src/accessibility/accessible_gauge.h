// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <QAccessibleWidget>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "drawing/qt/qt_drawing.h"
#include "gauge/gauge_adapter.h"

namespace kelvane {

class AccessibleView;

// The main window as assistive technologies see it: what it last announced, then its buttons,
// its logo and its visible panels from the top left, each an accessible part of its own, since
// the view draws them all itself. Its name is the program's; the window's caption stays as it is.
class AccessibleGauge : public QAccessibleWidget {
  public:
    // `owner` holds `adapter` and dies with the view; presses are queued on it.
    AccessibleGauge(AccessibleView* view, GaugeAdapter& adapter, QObject& owner);
    ~AccessibleGauge() override;

    bool isValid() const override;
    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // Panel p's part, whether shown or not, the title that names it and the line that labels it.
    QAccessibleInterface* Panel(int panel) const;
    QAccessibleInterface* Title(int panel) const;
    QAccessibleInterface* Caption(int panel) const;
    // The part the keyboard is on (see AccessibleView::KeyFocus), or none.
    QAccessibleInterface* KeyFocusPart() const;
    // Whether the keyboard is on the part that has place `focus` in the Tab order.
    bool HasKeyFocus(int focus) const;
    // Says `text` once: the announcement part takes it and shows.
    void Announce(const QString& text);

    GaugeAdapter& Adapter() const { return adapter_; }
    bool Shown() const { return widget()->isVisible(); }
    // `pixels` of the window on the screen.
    QRect OnScreen(const QRect& pixels) const;
    // The widths of a figure's characters, as the view draws them.
    TextMeasure& Fonts() const { return fonts_; }
    // Runs `act`, an assistive technology's press of the part at `focus` in the Tab order, from
    // the event loop, as a click's handlers run: never inside an assistive technology's call,
    // which the act may outlive (the close button ends the program). The keyboard goes to the
    // part, as a pressed button takes it, and what changed is told as what a key changed is.
    void Later(int focus, std::function<void(GaugeAdapter&)> act) const;

  private:
    // The view, or none once its destructor has begun.
    AccessibleView* View() const;

    GaugeAdapter& adapter_;
    mutable QtFonts fonts_;
    QPointer<QObject> owner_;
    std::vector<QAccessible::Id> parts_;     // the announcement, the title strip, the panels
    std::vector<QAccessible::Id> titles_;    // by panel
    std::vector<QAccessible::Id> captions_;  // by panel
    QAccessible::Id announcement_ = 0;
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
    // Its place in the order Tab walks, or -1 where Tab does not stop.
    virtual int FocusOrder() const { return -1; }

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
    QRect Pixels() const override;
    int FocusOrder() const override { return static_cast<int>(button_); }

    GaugeButton button_;
};

// The logo, which the mouse drags the window by.
class LogoPart final : public AccessiblePart {
  public:
    using AccessiblePart::AccessiblePart;

    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override { return QAccessible::Graphic; }

  private:
    QRect Pixels() const override;
};

// A text that can be read, not edited or selected: no selection, no cursor, no attributes.
class ReadOnlyText : public QAccessibleTextInterface {
  public:
    void selection(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }
};

// A part that belongs to a panel: there while the panel is shown, and gone with it.
class PanelBound : public AccessiblePart {
  public:
    PanelBound(const AccessibleGauge& gauge, int panel) : AccessiblePart(gauge), panel_(panel) {}
    bool isValid() const override;

  protected:
    int panel_;
};

// A panel: its name says the reading, its value and text the figure as the caption shows it, and
// its action steps it to the next reading, as a click on its title does.
class PanelPart final : public PanelBound,
                        public QAccessibleValueInterface,
                        public ReadOnlyText,
                        public QAccessibleActionInterface {
  public:
    using PanelBound::PanelBound;

    void* interface_cast(QAccessible::InterfaceType type) override;
    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override { return QAccessible::ProgressBar; }
    QAccessible::State state() const override;
    // Its title, a label of its own: what a screen reader's review of the window reads beside
    // the figure; then the line that labels it.
    QAccessibleInterface* child(int index) const override;
    int childCount() const override { return 2; }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override;

    // The figure, or nothing while it is unknown or the drive absent.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override;
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }

    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    // Where the figure's characters are drawn on the screen: in words, the whole label.
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;

    QStringList actionNames() const override;
    QString localizedActionDescription(const QString& actionName) const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    QRect Pixels() const override;
    int FocusOrder() const override { return kGaugeButtons + panel_; }
};

// A panel's title picture, read as the name of its reading.
class TitlePart final : public PanelBound {
  public:
    using PanelBound::PanelBound;

    QAccessibleInterface* parent() const override { return gauge_.Panel(panel_); }
    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override { return QAccessible::StaticText; }

  private:
    QRect Pixels() const override;
};

// A panel's name and figure in one line, "Free RAM MB, 23967 MB", which labels the panel: a
// screen reader that speaks a bar as a percentage only (Orca, on Tab and "where am I") says the
// figure as shown with it. Its text is asked for when read, so it never goes stale in a
// client's cache as a name would; it takes no room on the screen, where the title and the
// figure are read in their places.
class CaptionPart final : public PanelBound, public ReadOnlyText {
  public:
    using PanelBound::PanelBound;

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessibleInterface* parent() const override { return gauge_.Panel(panel_); }
    QString text(QAccessible::Text) const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match) const override;

    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }

  private:
    QRect Pixels() const override { return {}; }
    QString Line() const;
};

// What the gauge last told after the user changed what it shows ("3 panels: ..."): a
// notification, which a screen reader speaks when it shows. It takes no room on the screen.
class AnnouncementPart final : public AccessiblePart {
  public:
    using AccessiblePart::AccessiblePart;

    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override;
    void Say(const QString& text) { text_ = text; }

  private:
    QRect Pixels() const override { return {}; }

    QString text_;
};

}  // namespace kelvane
