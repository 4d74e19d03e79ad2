// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window/accessible_gauge.h"

#include <QFontMetrics>
#include <QTimer>

#include "rules/number_text.h"
#include "rules/reading_kinds.h"
#include "rules/sections.h"
#include "window/fonts.h"
#include "window/main_view.h"

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

struct ButtonText {
    const char* name;
    const char* description;
};
constexpr ButtonText kButtonTexts[kGaugeButtons] = {
    {"Close", "Closes the gauge; its settings are saved"},
    {"Size", "Steps the window through 1, 3, 6 and 8 panels"},
    {"Help", "Opens the quick help"},
    {"Pin left", "Moves the window to the left edge of its screen"},
    {"Pin top", "Moves the window to the top edge of its screen"},
    {"Pin right", "Moves the window to the right edge of its screen"},
};

QString FromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

bool Absent(const PanelShown& shown) {
    return shown.state == PanelResult::State::kAbsent;
}

// "Used RAM percent", "Used drive D: (/home)", "Used drive P: (absent)".
QString NameOf(const PanelShown& shown) {
    if (!IsReadingKind(shown.code)) {
        return {};
    }
    const KindWords& words = WordsOf(shown.code);
    QString name = FromView(words.reading);
    if (!IsDriveKind(shown.code)) {
        name += QLatin1Char(' ') + FromView(words.unit);
    } else {
        name += QStringLiteral(" %1: (%2)")
                    .arg(QChar::fromLatin1(DriveLetter(shown.code)))
                    .arg(Absent(shown) ? QStringLiteral("absent") : FromView(shown.mountPoint));
    }
    return name;
}

// The caption as drawn, but in words where it holds no figure: a dash or nothing at all would
// be read out as punctuation or silence.
QString FigureText(const PanelShown& shown) {
    switch (shown.state) {
        case PanelResult::State::kFigure:
            return FromView(shown.caption.View());
        case PanelResult::State::kAbsent:
            return QStringLiteral("absent");
        default:
            return QStringLiteral("unknown");
    }
}

}  // namespace

AccessibleGauge::AccessibleGauge(MainView* view, GaugeAdapter& adapter, QObject& owner)
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

MainView* AccessibleGauge::View() const {
    return qobject_cast<MainView*>(widget());
}

QAccessibleInterface* AccessibleGauge::KeyFocusPart() const {
    const MainView* view = View();
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
    const MainView* view = View();
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
    const QRect window = adapter_.WindowOnScreen();
    const QPoint corner = window.isValid() ? window.topLeft() : widget()->mapToGlobal(QPoint());
    return pixels.translated(corner);
}

void AccessibleGauge::Later(int focus, std::function<void(GaugeAdapter&)> act) const {
    if (owner_.isNull()) {
        return;
    }
    GaugeAdapter* adapter = &adapter_;
    QPointer<MainView> view = View();
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
    const ButtonText& texts = kButtonTexts[static_cast<int>(button_)];
    switch (t) {
        case QAccessible::Name:
            return QLatin1String(texts.name);
        case QAccessible::Description:
            return QLatin1String(texts.description);
        default:
            return {};
    }
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
            return QStringLiteral("Logo, drag handle");
        case QAccessible::Description:
            return QStringLiteral(
                "Drag it with the mouse to move the window. Without a mouse, the pin buttons "
                "move it to an edge of the screen, and F2 to F12 choose the panels.");
        default:
            return {};
    }
}

// A panel below the window's lower edge is not shown, and no part of the window.
bool PanelPart::isValid() const {
    return AccessiblePart::isValid() && panel_ < gauge_.Adapter().VisiblePanels();
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
    const PanelShown shown = gauge_.Adapter().Panel(panel_);
    switch (t) {
        case QAccessible::Name:
            return NameOf(shown);
        case QAccessible::Value:
            return FigureText(shown);
        case QAccessible::Description:
            if (!IsDriveKind(shown.code)) {
                return IsReadingKind(shown.code) ? FromView(KindOf(shown.code).toolTip) : QString();
            }
            return Absent(shown) ? QStringLiteral("No drive has this letter")
                                 : QStringLiteral("Used space of the volume mounted at ") +
                                       FromView(shown.mountPoint);
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

// As the view writes it: from the label's corner in the number font, or the narrow one where
// that is too wide, squeezed into the label where even that is.
QRect PanelPart::characterRect(int offset) const {
    const PanelShown shown = gauge_.Adapter().Panel(panel_);
    const QString figure = FigureText(shown);
    if (offset < 0 || offset >= figure.size()) {
        return {};
    }
    if (shown.state != PanelResult::State::kFigure) {
        return gauge_.OnScreen(shown.label);
    }
    QFontMetricsF metrics(NumberFont());
    if (metrics.horizontalAdvance(figure) > shown.label.width()) {
        metrics = QFontMetricsF(NarrowNumberFont());
    }
    const qreal width = metrics.horizontalAdvance(figure);
    const qreal squeeze = width > shown.label.width() ? shown.label.width() / width : 1.0;
    const qreal left = metrics.horizontalAdvance(figure.left(offset)) * squeeze;
    const qreal right = metrics.horizontalAdvance(figure.left(offset + 1)) * squeeze;
    const QRectF glyph(shown.label.left() + left, shown.label.top(), right - left,
                       std::min<qreal>(metrics.height(), shown.label.height()));
    return gauge_.OnScreen(glyph.toAlignedRect() & shown.label);
}

int PanelPart::offsetAtPoint(const QPoint& point) const {
    for (int offset = 0; offset < characterCount(); ++offset) {
        if (characterRect(offset).contains(point)) {
            return offset;
        }
    }
    return -1;
}

bool TitlePart::isValid() const {
    return AccessiblePart::isValid() && panel_ < gauge_.Adapter().VisiblePanels();
}

QString TitlePart::text(QAccessible::Text t) const {
    return t == QAccessible::Name ? NameOf(gauge_.Adapter().Panel(panel_)) : QString();
}

bool CaptionPart::isValid() const {
    return AccessiblePart::isValid() && panel_ < gauge_.Adapter().VisiblePanels();
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
    const PanelShown shown = gauge_.Adapter().Panel(panel_);
    return NameOf(shown) + QStringLiteral(", ") + FigureText(shown);
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
