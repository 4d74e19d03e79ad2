// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "accessibility/accessible_gauge.h"

#include <QFontMetrics>
#include <QTimer>

#include "accessibility/accessible_view.h"
#include "drawing/qt/qt_geometry.h"
#include "rules/counts.h"
#include "rules/number_text.h"
#include "rules/reading_kinds.h"

namespace kelvane {
namespace {

// The announcement comes first; then the title strip's parts from left to right: the logo lies
// between the help button and the pins, which stand in front of it.
constexpr int kTitleParts = kGaugeButtons + 1;
constexpr int kLogoPart = 3;
constexpr int kFirstPart = 1;

GaugeButton ButtonAt(int part) {
    return static_cast<GaugeButton>(part < kLogoPart ? part : part - 1);
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

PanelWords WordsOfPanel(const AccessibleGauge& gauge, int panel) {
    return DescribePanel(gauge.Adapter().Panel(panel));
}

}  // namespace

AccessibleGauge::AccessibleGauge(AccessibleView* view, GaugeAdapter& adapter, QObject& owner)
    : QAccessibleWidget(view, QAccessible::Window), adapter_(adapter), owner_(&owner) {
    announcement_ = QAccessible::registerAccessibleInterface(new AnnouncementPart(*this));
    parts_.push_back(announcement_);
    for (int part = 0; part < kTitleParts; ++part) {
        QAccessibleInterface* iface = part == kLogoPart
                                          ? static_cast<QAccessibleInterface*>(new LogoPart(*this))
                                          : new ButtonPart(*this, ButtonAt(part));
        parts_.push_back(QAccessible::registerAccessibleInterface(iface));
    }
    for (int p = 0; p < kPanels; ++p) {
        parts_.push_back(QAccessible::registerAccessibleInterface(new PanelPart(*this, p)));
        titles_.push_back(QAccessible::registerAccessibleInterface(new TitlePart(*this, p)));
        captions_.push_back(QAccessible::registerAccessibleInterface(new CaptionPart(*this, p)));
    }
}

// The parts are the cache's to delete, and it may have let them go first.
AccessibleGauge::~AccessibleGauge() {
    for (const auto* ids : {&parts_, &titles_, &captions_}) {
        for (const QAccessible::Id id : *ids) {
            if (QAccessible::accessibleInterface(id) != nullptr) {
                QAccessible::deleteAccessibleInterface(id);
            }
        }
    }
}

bool AccessibleGauge::isValid() const {
    return QAccessibleWidget::isValid() && !owner_.isNull();
}

QString AccessibleGauge::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? QStringLiteral("Kelvane") : QAccessibleWidget::text(t);
}

int AccessibleGauge::childCount() const {
    return isValid() ? kFirstPart + kTitleParts + adapter_.VisiblePanels() : 0;
}

QAccessibleInterface* AccessibleGauge::child(int index) const {
    return index >= 0 && index < childCount()
               ? QAccessible::accessibleInterface(parts_[static_cast<std::size_t>(index)])
               : nullptr;
}

QAccessibleInterface* AccessibleGauge::focusChild() const {
    return KeyFocusPart();
}

QAccessibleInterface* AccessibleGauge::Title(int panel) const {
    return QAccessible::accessibleInterface(titles_[static_cast<std::size_t>(panel)]);
}

QAccessibleInterface* AccessibleGauge::Caption(int panel) const {
    return QAccessible::accessibleInterface(captions_[static_cast<std::size_t>(panel)]);
}

AccessibleView* AccessibleGauge::View() const {
    return qobject_cast<AccessibleView*>(widget());
}

QAccessibleInterface* AccessibleGauge::KeyFocusPart() const {
    const AccessibleView* view = View();
    const int focus = view != nullptr ? view->KeyFocus() : -1;
    if (focus < 0) {
        return nullptr;
    }
    if (focus >= kGaugeButtons) {
        return Panel(focus - kGaugeButtons);
    }
    const int part = focus < kLogoPart ? focus : focus + 1;
    return child(kFirstPart + part);
}

bool AccessibleGauge::HasKeyFocus(int focus) const {
    const AccessibleView* view = View();
    return focus >= 0 && view != nullptr && focus == view->KeyFocus() && view->hasFocus();
}

void AccessibleGauge::Announce(const QString& text) {
    auto* part = static_cast<AnnouncementPart*>(QAccessible::accessibleInterface(announcement_));
    part->Say(text);
    QAccessibleEvent renamed(part, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&renamed);
    QAccessibleEvent shown(part, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

int AccessibleGauge::indexOfChild(const QAccessibleInterface* child) const {
    for (int i = 0; i < childCount(); ++i) {
        if (QAccessible::accessibleInterface(parts_[static_cast<std::size_t>(i)]) == child) {
            return i;
        }
    }
    return -1;
}

// The frontmost part under the point: the pins stand in front of the logo.
QAccessibleInterface* AccessibleGauge::childAt(int x, int y) const {
    for (int i = childCount() - 1; i >= 0; --i) {
        QAccessibleInterface* part = child(i);
        if (part != nullptr && part->rect().contains(x, y)) {
            return part;
        }
    }
    return nullptr;
}

QAccessibleInterface* AccessibleGauge::Panel(int panel) const {
    return QAccessible::accessibleInterface(
        parts_[static_cast<std::size_t>(kFirstPart + kTitleParts + panel)]);
}

// Where the window system last said the window is, which a pin or a window manager's refusal
// may have changed since Qt's own idea of it.
QRect AccessibleGauge::OnScreen(const QRect& pixels) const {
    const QRect window = ToQt(adapter_.WindowOnScreen());
    const QPoint corner = window.isValid() ? window.topLeft() : widget()->mapToGlobal(QPoint());
    return pixels.translated(corner);
}

void AccessibleGauge::Later(int focus, std::function<void(GaugeAdapter&)> act) const {
    if (owner_.isNull()) {
        return;
    }
    GaugeAdapter* adapter = &adapter_;
    QPointer<AccessibleView> view = View();
    QTimer::singleShot(0, owner_.data(), [adapter, view, focus, act = std::move(act)] {
        if (!adapter->TakeAssistedPress()) {
            return;
        }
        act(*adapter);
        if (view) {
            view->FocusOn(focus);
            emit view->acted();
        }
    });
}

QAccessibleInterface* AccessiblePart::parent() const {
    return const_cast<AccessibleGauge*>(&gauge_);
}

QAccessible::State AccessiblePart::state() const {
    QAccessible::State state;
    state.invisible = !gauge_.Shown();
    state.focusable = FocusOrder() >= 0;
    state.focused = gauge_.HasKeyFocus(FocusOrder());
    return state;
}

void* ButtonPart::interface_cast(QAccessible::InterfaceType type) {
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                : nullptr;
}

QString ButtonPart::text(QAccessible::Text t) const {
    const PartWords& words = WordsOf(button_);
    switch (t) {
        case QAccessible::Name:
            return FromUtf8(words.name);
        case QAccessible::Description:
            return FromUtf8(words.description);
        default:
            return {};
    }
}

QRect ButtonPart::Pixels() const {
    return ToQt(gauge_.Adapter().ButtonRect(button_));
}

QStringList ButtonPart::actionNames() const {
    return {pressAction()};
}

void ButtonPart::doAction(const QString& actionName) {
    if (actionName == pressAction()) {
        gauge_.Later(FocusOrder(),
                     [button = button_](GaugeAdapter& adapter) { adapter.Press(button); });
    }
}

QStringList ButtonPart::keyBindingsForAction(const QString& actionName) const {
    if (button_ == GaugeButton::kHelp && actionName == pressAction()) {
        return {QStringLiteral("F1")};
    }
    return {};
}

QString LogoPart::text(QAccessible::Text t) const {
    switch (t) {
        case QAccessible::Name:
            return FromUtf8(LogoWords().name);
        case QAccessible::Description:
            return FromUtf8(LogoWords().description);
        default:
            return {};
    }
}

QRect LogoPart::Pixels() const {
    return ToQt(gauge_.Adapter().LogoRect());
}

// A panel below the window's lower edge is not shown, and no part of the window.
bool PanelBound::isValid() const {
    return AccessiblePart::isValid() && panel_ < gauge_.Adapter().VisiblePanels();
}

QRect PanelPart::Pixels() const {
    return ToQt(gauge_.Adapter().Panel(panel_).rect);
}

QRect TitlePart::Pixels() const {
    return ToQt(gauge_.Adapter().Panel(panel_).title);
}

void* PanelPart::interface_cast(QAccessible::InterfaceType type) {
    switch (type) {
        case QAccessible::ValueInterface:
            return static_cast<QAccessibleValueInterface*>(this);
        case QAccessible::TextInterface:
            return static_cast<QAccessibleTextInterface*>(this);
        case QAccessible::ActionInterface:
            return static_cast<QAccessibleActionInterface*>(this);
        default:
            return nullptr;
    }
}

QString PanelPart::text(QAccessible::Text t) const {
    const PanelWords words = WordsOfPanel(gauge_, panel_);
    switch (t) {
        case QAccessible::Name:
            return QString::fromStdString(words.name);
        case QAccessible::Value:
            return QString::fromStdString(words.figure);
        case QAccessible::Description:
            return QString::fromStdString(words.description);
        default:
            return {};
    }
}

QAccessible::State PanelPart::state() const {
    QAccessible::State state = AccessiblePart::state();
    state.readOnly = true;
    return state;
}

QAccessibleInterface* PanelPart::child(int index) const {
    return index == 0 ? gauge_.Title(panel_) : index == 1 ? gauge_.Caption(panel_) : nullptr;
}

int PanelPart::indexOfChild(const QAccessibleInterface* child) const {
    if (child == nullptr) {
        return -1;
    }
    return child == gauge_.Title(panel_) ? 0 : child == gauge_.Caption(panel_) ? 1 : -1;
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>> PanelPart::relations(
    QAccessible::Relation match) const {
    if (!match.testFlag(QAccessible::Label)) {
        return {};
    }
    return {{gauge_.Caption(panel_), QAccessible::Label}};
}

// As the view draws it: from the label's corner, in the font and at the width the drawing
// places it.
QRect PanelPart::characterRect(int offset) const {
    const PanelShown shown = gauge_.Adapter().Panel(panel_);
    const QString figure = QString::fromStdString(DescribePanel(shown).figure);
    if (offset < 0 || offset >= figure.size()) {
        return {};
    }
    const QRect label = ToQt(shown.label);
    if (shown.state != PanelResult::State::kFigure) {
        return gauge_.OnScreen(label);
    }
    TextMeasure& fonts = gauge_.Fonts();
    const TextPlacement placement =
        PlaceText(FontRole::kNumber, figure.toStdString(), label.width(), fonts);
    const qreal left =
        fonts.Width(placement.role, figure.left(offset).toStdString()) * placement.scale;
    const qreal right =
        fonts.Width(placement.role, figure.left(offset + 1).toStdString()) * placement.scale;
    const qreal height = QFontMetricsF(static_cast<QtFonts&>(fonts).Font(placement.role)).height();
    const QRectF glyph(label.left() + left, label.top(), right - left,
                       std::min<qreal>(height, label.height()));
    return gauge_.OnScreen(glyph.toAlignedRect() & label);
}

int PanelPart::offsetAtPoint(const QPoint& point) const {
    for (int offset = 0; offset < characterCount(); ++offset) {
        if (characterRect(offset).contains(point)) {
            return offset;
        }
    }
    return -1;
}

QString TitlePart::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? QString::fromStdString(WordsOfPanel(gauge_, panel_).name)
                                  : QString();
}

void* CaptionPart::interface_cast(QAccessible::InterfaceType type) {
    return type == QAccessible::TextInterface ? static_cast<QAccessibleTextInterface*>(this)
                                              : nullptr;
}

QAccessible::State CaptionPart::state() const {
    QAccessible::State state = AccessiblePart::state();
    state.readOnly = true;
    state.offscreen = true;
    return state;
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>> CaptionPart::relations(
    QAccessible::Relation match) const {
    if (!match.testFlag(QAccessible::Labelled)) {
        return {};
    }
    return {{gauge_.Panel(panel_), QAccessible::Labelled}};
}

QString CaptionPart::Line() const {
    const PanelWords words = WordsOfPanel(gauge_, panel_);
    return QString::fromStdString(words.name + ", " + words.figure);
}

QString CaptionPart::text(int startOffset, int endOffset) const {
    return Line().mid(startOffset, endOffset - startOffset);
}

int CaptionPart::characterCount() const {
    return static_cast<int>(Line().size());
}

QString AnnouncementPart::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? text_ : QString();
}

// It shows only to be spoken: a review of the window passes it by.
QAccessible::State AnnouncementPart::state() const {
    QAccessible::State state = AccessiblePart::state();
    state.invisible = true;
    state.offscreen = true;
    return state;
}

QVariant PanelPart::currentValue() const {
    const PanelShown shown = gauge_.Adapter().Panel(panel_);
    return shown.state == PanelResult::State::kFigure ? QVariant(shown.figure) : QVariant();
}

// Where the bar is full: at 100 %, or at the total memory in the panel's unit.
QVariant PanelPart::maximumValue() const {
    const PanelShown shown = gauge_.Adapter().Panel(panel_);
    return IsReadingKind(shown.code) ? QVariant(shown.fullScale) : QVariant();
}

QString PanelPart::text(int startOffset, int endOffset) const {
    return text(QAccessible::Value).mid(startOffset, endOffset - startOffset);
}

int PanelPart::characterCount() const {
    return static_cast<int>(text(QAccessible::Value).size());
}

QStringList PanelPart::actionNames() const {
    return {QStringLiteral("Next reading")};
}

QString PanelPart::localizedActionDescription(const QString& actionName) const {
    return actionName == actionNames().constFirst()
               ? QStringLiteral("Shows the next reading, as a click on the panel's title does")
               : QString();
}

void PanelPart::doAction(const QString& actionName) {
    if (actionName == actionNames().constFirst()) {
        gauge_.Later(FocusOrder(),
                     [panel = panel_](GaugeAdapter& adapter) { adapter.NextReading(panel); });
    }
}

}  // namespace kelvane
