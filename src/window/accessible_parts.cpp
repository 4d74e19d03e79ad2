// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window/accessible_parts.h"

#include <QTimer>
#include <optional>

#include "rules/number_text.h"
#include "rules/reading_kinds.h"
#include "rules/sections.h"

namespace kelvane {
namespace {

// The title strip's parts from left to right: the logo lies between the help button and the
// pins, which stand in front of it.
constexpr int kTitleParts = kGaugeButtons + 1;
constexpr int kLogoPart = 3;

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
    return IsDriveKind(shown.code) && shown.mountPoint.isEmpty();
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
                    .arg(Absent(shown) ? QStringLiteral("absent") : shown.mountPoint);
    }
    return name;
}

// The number a caption starts with ("48828.125 KB", "70%"), whatever its decimal point.
std::optional<double> FigureOf(const QString& caption) {
    QByteArray number;
    qsizetype i = 0;
    const auto digit = [&caption](qsizetype at) {
        return at < caption.size() && caption[at] >= u'0' && caption[at] <= u'9';
    };
    while (digit(i)) {
        number += static_cast<char>(caption[i++].unicode());
    }
    if (number.isEmpty()) {
        return std::nullopt;
    }
    qsizetype fraction = i;
    while (fraction < caption.size() && !digit(fraction) && caption[fraction] != u' ' &&
           caption[fraction] != u'%') {
        ++fraction;
    }
    if (fraction > i && digit(fraction)) {
        number += '.';
        while (digit(fraction)) {
            number += static_cast<char>(caption[fraction++].unicode());
        }
    }
    return number.toDouble();
}

// The caption as drawn, but in words where it holds no figure: a dash or nothing at all would
// be read out as punctuation or silence.
QString FigureText(const PanelShown& shown) {
    if (Absent(shown)) {
        return QStringLiteral("absent");
    }
    return FigureOf(shown.caption) ? shown.caption : QStringLiteral("unknown");
}

}  // namespace

AccessibleGauge::AccessibleGauge(QWidget* view, GaugeAdapter& adapter, QObject& owner)
    : QAccessibleWidget(view, QAccessible::Window), adapter_(adapter), owner_(&owner) {
    for (int part = 0; part < kTitleParts; ++part) {
        QAccessibleInterface* iface = part == kLogoPart
                                          ? static_cast<QAccessibleInterface*>(new LogoPart(*this))
                                          : new ButtonPart(*this, ButtonAt(part));
        parts_.push_back(QAccessible::registerAccessibleInterface(iface));
    }
    for (int p = 0; p < kPanels; ++p) {
        parts_.push_back(QAccessible::registerAccessibleInterface(new PanelPart(*this, p)));
    }
}

// The parts are the cache's to delete, and it may have let them go first.
AccessibleGauge::~AccessibleGauge() {
    for (const QAccessible::Id id : parts_) {
        if (QAccessible::accessibleInterface(id) != nullptr) {
            QAccessible::deleteAccessibleInterface(id);
        }
    }
}

bool AccessibleGauge::isValid() const {
    return QAccessibleWidget::isValid() && !owner_.isNull();
}

int AccessibleGauge::childCount() const {
    return isValid() ? kTitleParts + adapter_.VisiblePanels() : 0;
}

QAccessibleInterface* AccessibleGauge::child(int index) const {
    return index >= 0 && index < childCount()
               ? QAccessible::accessibleInterface(parts_[static_cast<std::size_t>(index)])
               : nullptr;
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
    return QAccessible::accessibleInterface(parts_[static_cast<std::size_t>(kTitleParts + panel)]);
}

QRect AccessibleGauge::OnScreen(const QRect& pixels) const {
    return {widget()->mapToGlobal(pixels.topLeft()), pixels.size()};
}

void AccessibleGauge::Later(std::function<void(GaugeAdapter&)> act) const {
    if (owner_.isNull()) {
        return;
    }
    GaugeAdapter* adapter = &adapter_;
    QTimer::singleShot(0, owner_.data(), [adapter, act = std::move(act)] { act(*adapter); });
}

QAccessibleInterface* AccessiblePart::parent() const {
    return const_cast<AccessibleGauge*>(&gauge_);
}

QAccessible::State AccessiblePart::state() const {
    QAccessible::State state;
    state.invisible = !gauge_.Shown();
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
        gauge_.Later([button = button_](GaugeAdapter& adapter) { adapter.Press(button); });
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
            return Absent(shown)
                       ? QStringLiteral("No drive has this letter")
                       : QStringLiteral("Used space of the volume mounted at ") + shown.mountPoint;
        default:
            return {};
    }
}

QAccessible::State PanelPart::state() const {
    QAccessible::State state = AccessiblePart::state();
    state.readOnly = true;
    return state;
}

QVariant PanelPart::currentValue() const {
    const PanelShown shown = gauge_.Adapter().Panel(panel_);
    const std::optional<double> figure = Absent(shown) ? std::nullopt : FigureOf(shown.caption);
    return figure ? QVariant(*figure) : QVariant();
}

// Where the bar is full: at 100 %, or at the total memory in the panel's unit.
QVariant PanelPart::maximumValue() const {
    const PanelShown shown = gauge_.Adapter().Panel(panel_);
    if (!IsReadingKind(shown.code)) {
        return {};
    }
    double full = 100;
    switch (KindOf(shown.code).caption) {
        case CaptionRule::kUsedKb:
        case CaptionRule::kFreeKb:
            full = shown.totalKb;
            break;
        case CaptionRule::kUsedMb:
        case CaptionRule::kFreeMb:
        case CaptionRule::kTotalMb:
            // Rounded as the total's caption is, which no rounded part of it exceeds.
            full = RoundHalfEven(shown.totalKb / 1024.0);
            break;
        default:
            break;
    }
    return full;
}

void PanelPart::selection(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = 0;
}

QString PanelPart::text(int startOffset, int endOffset) const {
    return text(QAccessible::Value).mid(startOffset, endOffset - startOffset);
}

int PanelPart::characterCount() const {
    return static_cast<int>(text(QAccessible::Value).size());
}

QString PanelPart::attributes(int, int* startOffset, int* endOffset) const {
    *startOffset = 0;
    *endOffset = characterCount();
    return {};
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
        gauge_.Later([panel = panel_](GaugeAdapter& adapter) { adapter.NextReading(panel); });
    }
}

}  // namespace kelvane
