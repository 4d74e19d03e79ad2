// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "accessibility/announcer.h"

#include <QAccessible>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <array>

#include "accessibility/accessible_gauge.h"
#include "accessibility/accessible_view.h"
#include "drawing/qt/qt_geometry.h"
#include "gauge/frm_main.h"
#include "gauge/telling.h"
#include "help/frm_help.h"

namespace kelvane {
namespace {

// Tells assistive technologies what changed on the gauge. The gauge may change a hundred times
// a second; a screen reader should not speak that often. So, only while one listens, once a
// second, each visible panel whose name or figure differs from what it last told says so; the
// refresh tick itself does nothing more for it, listened to or not. A new figure is told only
// while the window has been the active one since the round before: a window that the window
// system activates for an instant as the focus passes it by, which a screen reader takes for the
// user's choice, stays quiet while the user works elsewhere.
class Announcer final : public QObject, public QAccessible::ActivationObserver {
    Q_OBJECT
  public:
    Announcer(AccessibleView& view, FrmMain& gauge)
        : view_(view), gauge_(gauge), adapter_(gauge), timer_(this), settle_(this) {
        // Restarted after each round, so that rounds lie a whole second apart even when one is
        // late: a precise timer is never early.
        timer_.setObjectName(QStringLiteral("announcements"));
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        timer_.setInterval(1000);
        connect(&timer_, &QTimer::timeout, this, &Announcer::Round);
        // What a key did is told once the refresh has shown it: the new readings' figures come
        // with the next tick.
        settle_.setSingleShot(true);
        settle_.setInterval(100);
        connect(&settle_, &QTimer::timeout, this, &Announcer::TellArrangement);
        connect(&view, &AccessibleView::acted, this, [this] {
            if (QAccessible::isActive()) {
                settle_.start();
            }
        });
        connect(&view, &AccessibleView::keyFocusMoved, this, &Announcer::TellFocus);
        QAccessible::installActivationObserver(this);
        accessibilityActiveChanged(QAccessible::isActive());
    }
    ~Announcer() override { QAccessible::removeActivationObserver(this); }

    GaugeAdapter& Adapter() { return adapter_; }

    // What the panels show when an assistive technology arrives is what it reads first: only
    // what changes after that is told.
    void accessibilityActiveChanged(bool active) override {
        if (active && !timer_.isActive()) {
            rounds_.Restart();
            shown_ = Now();
            timer_.start();
        } else if (!active) {
            timer_.stop();
            settle_.stop();
        }
    }

  private:
    Arrangement Now() const { return ArrangementNow(adapter_, FromQt(view_.geometry())); }

    AccessibleGauge* Window() const {
        return dynamic_cast<AccessibleGauge*>(QAccessible::queryAccessibleInterface(&view_));
    }

    void Round() {
        if (!QAccessible::isActive()) {
            return;
        }
        const bool active = view_.isActiveWindow();
        if (AccessibleGauge* window = Window()) {
            Tell(*window, active && wasActive_);
        }
        wasActive_ = active;
        timer_.start();
    }

    void TellArrangement() {
        AccessibleGauge* window = QAccessible::isActive() ? Window() : nullptr;
        if (window == nullptr) {
            return;
        }
        const Arrangement now = Now();
        const std::string text = DescribeChange(shown_, now, adapter_, gauge_.ScreenOf(now.place));
        shown_ = now;
        if (!text.empty()) {
            window->Announce(QString::fromStdString(text));
        }
    }

    // Where Tab or Shift+Tab has put the keyboard, or the window itself when it comes back.
    void TellFocus() {
        AccessibleGauge* window = QAccessible::isActive() ? Window() : nullptr;
        if (window == nullptr) {
            return;
        }
        QAccessibleInterface* part = window->KeyFocusPart();
        QAccessibleEvent focus(part != nullptr ? part : window, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }

    void Tell(AccessibleGauge& window, bool figures) {
        const PanelNews news = rounds_.Round(adapter_, figures);
        if (news.reordered) {
            QAccessibleEvent reordered(&window, QAccessible::ObjectReorder);
            QAccessible::updateAccessibility(&reordered);
        }
        for (int p = 0; p < news.visible; ++p) {
            QAccessibleInterface* panel = window.Panel(p);
            if (news.renamed[static_cast<std::size_t>(p)]) {
                QAccessibleEvent renamed(panel, QAccessible::NameChanged);
                QAccessible::updateAccessibility(&renamed);
            }
            if (news.refigured[static_cast<std::size_t>(p)]) {
                QAccessibleValueChangeEvent changed(panel, panel->valueInterface()->currentValue());
                QAccessible::updateAccessibility(&changed);
            }
        }
    }

    AccessibleView& view_;
    FrmMain& gauge_;
    GaugeAdapter adapter_;
    QTimer timer_;
    QTimer settle_;
    bool wasActive_ = false;
    PanelRounds rounds_;
    Arrangement shown_;
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
    // A view on its way out (QWidget's destructor tells of the focus it loses) is no AccessibleView
    // any more, and gets Qt's own interface.
    auto* view = qobject_cast<AccessibleView*>(object);
    auto* announcer = view != nullptr
                          ? qobject_cast<Announcer*>(view->property(kAnnouncer).value<QObject*>())
                          : nullptr;
    return announcer != nullptr ? new AccessibleGauge(view, announcer->Adapter(), *announcer)
                                : nullptr;
}

}  // namespace

void MakeAccessible(AccessibleView& view, FrmMain& gauge) {
    static const bool installed = [] {
        QAccessible::installFactory(&GaugeFactory);
        return true;
    }();
    Q_UNUSED(installed);
    auto* announcer = new Announcer(view, gauge);
    QObject::connect(&view, &QObject::destroyed, [announcer] { delete announcer; });
    view.setProperty(kAnnouncer, QVariant::fromValue<QObject*>(announcer));
    view.setAccessibleDescription(QString::fromUtf8(
        kGaugeDescription.data(), static_cast<qsizetype>(kGaugeDescription.size())));
}

}  // namespace kelvane

#include "announcer.moc"
