// What the X window system says of the gauge's windows beyond what Qt passes on.

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWindow>
#include <cstdint>
#include <cstring>

#include "platform/platform.h"

namespace kelvane {
namespace {

// Watches the X events for the destruction of one window.
class DestroyWatch final : public QObject, public QAbstractNativeEventFilter {
  public:
    DestroyWatch(QWindow* window, std::function<void()> gone)
        : QObject(window), window_(window), gone_(std::move(gone)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~DestroyWatch() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        constexpr std::uint8_t kDestroyNotify = 17;
        if (type != "xcb_generic_event_t") {
            return false;
        }
        // The X protocol's DestroyNotify: the code, then the destroyed window at byte 8.
        const auto* event = static_cast<const std::uint8_t*>(message);
        std::uint32_t destroyed = 0;
        std::memcpy(&destroyed, event + 8, sizeof destroyed);
        if ((event[0] & 0x7f) == kDestroyNotify && window_->handle() != nullptr &&
            destroyed == window_->winId() && gone_) {
            QMetaObject::invokeMethod(this, std::exchange(gone_, nullptr), Qt::QueuedConnection);
        }
        return false;
    }

  private:
    QWindow* window_;
    std::function<void()> gone_;
};

}  // namespace

void OnWindowDestroyedOutside(QWindow* window, std::function<void()> gone) {
    new DestroyWatch(window, std::move(gone));
}

}  // namespace kelvane
