// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window/accessible_gauge.h"

#include <QAccessible>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <array>

#include "rules/sections.h"
#include "window/accessible_parts.h"
#include "window/frm_help.h"

namespace kelvane {
namespace {

// What a panel last told assistive technologies.
struct Told {
    QString name;
    QString figure;
};

// Tells assistive technologies what changed on the gauge. The gauge may change a hundred times
// a second; a screen reader should not speak that often. So, only while one listens, once a
// second, each visible panel whose name or figure differs from what it last told says so; the
// refresh tick itself does nothing more for it, listened to or not.
class Announcer final : public QObject, public QAccessible::ActivationObserver {
    Q_OBJECT
  public:
    Announcer(QWidget& view, FrmMain& gauge) : view_(view), adapter_(gauge), timer_(this) {
        // Restarted after each round, so that rounds lie a whole second apart even when one is
        // late: a precise timer is never early.
        timer_.setObjectName(QStringLiteral("announcements"));
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1000);
        connect(&timer_, &QTimer::timeout, this, &Announcer::Round);
        QAccessible::installActivationObserver(this);
        accessibilityActiveChanged(QAccessible::isActive());
    }
    ~Announcer() override { QAccessible::removeActivationObserver(this); }

    GaugeAdapter& Adapter() { return adapter_; }

    // What the panels show when an assistive technology arrives is what it reads first: only
    // what changes after that is told.
    void accessibilityActiveChanged(bool active) override {
        if (active && !timer_.isActive()) {
            fresh_ = true;
            timer_.start();
        } else if (!active) {
            timer_.stop();
        }
    }

  private:
    void Round() {
        if (!QAccessible::isActive()) {
            return;
        }
        auto* window =
            dynamic_cast<AccessibleGauge*>(QAccessible::queryAccessibleInterface(&view_));
        if (window != nullptr) {
            Tell(*window);
        }
        timer_.start();
    }

    // A panel that has just come into view is read like the rest at first: it tells nothing.
    void Tell(AccessibleGauge& window) {
        const int visible = adapter_.VisiblePanels();
        const int known = fresh_ ? 0 : std::min(visible, visible_);
        if (!fresh_ && visible != visible_) {
            QAccessibleEvent reordered(&window, QAccessible::ObjectReorder);
            QAccessible::updateAccessibility(&reordered);
        }
        for (int p = 0; p < visible; ++p) {
            QAccessibleInterface* panel = window.Panel(p);
            Told now{panel->text(QAccessible::Name), panel->text(QAccessible::Value)};
            Told& told = told_[static_cast<std::size_t>(p)];
            if (p < known && now.name != told.name) {
                QAccessibleEvent renamed(panel, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&renamed);
            }
            if (p < known && now.figure != told.figure) {
                QAccessibleValueChangeEvent changed(panel, panel->valueInterface()->currentValue());
                QAccessible::updateAccessibility(&changed);
            }
            told = std::move(now);
        }
        visible_ = visible;
        fresh_ = false;
    }

    QWidget& view_;
    GaugeAdapter adapter_;
    QTimer timer_;
    bool fresh_ = true;
    int visible_ = 0;
    std::array<Told, kPanels> told_;
};

// The view names its announcer in a property rather than as its child: Qt's painting walks a
// widget's children on every repaint.
constexpr char kAnnouncer[] = "accessibility";

// The gauge's window is the one with an announcer. The help window is a plain widget, which Qt
// would present as a filler in the window list rather than as a window.
QAccessibleInterface* GaugeFactory(const QString&, QObject* object) {
    if (auto* help = qobject_cast<FrmHelp*>(object)) {
        return new QAccessibleWidget(help, QAccessible::Window);
    }
    auto* announcer = object != nullptr && object->isWidgetType()
                          ? qobject_cast<Announcer*>(object->property(kAnnouncer).value<QObject*>())
                          : nullptr;
    return announcer != nullptr ? new AccessibleGauge(static_cast<QWidget*>(object),
                                                      announcer->Adapter(), *announcer)
                                : nullptr;
}

}  // namespace

void MakeAccessible(QWidget& view, FrmMain& gauge) {
    static const bool installed = [] {
        QAccessible::installFactory(&GaugeFactory);
        return true;
    }();
    Q_UNUSED(installed);
    auto* announcer = new Announcer(view, gauge);
    QObject::connect(&view, &QObject::destroyed, [announcer] { delete announcer; });
    view.setProperty(kAnnouncer, QVariant::fromValue<QObject*>(announcer));
    view.setAccessibleDescription(QStringLiteral("RAM and disk usage gauge"));
}

}  // namespace kelvane

#include "accessible_gauge.moc"
