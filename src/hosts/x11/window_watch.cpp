// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// What the X window system says of the gauge's windows beyond what Qt passes on, asked over
// Qt's own connection to the X server.

#include <xcb/xcb.h>

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QWindow>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "drawing/qt/qt_platform.h"
#include "drawing/x11/x11_connection.h"
#include "hosts/x11/window_watch.h"

namespace kelvane {
namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
    const auto length = static_cast<std::uint16_t>(std::strlen(name));
    const Reply<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(connection, xcb_intern_atom(connection, 0, length, name), nullptr),
        &std::free);
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

// Watches the X events of one window: its destruction by another program, and the
// "demands attention" mark, which the window manager puts on a window that opens without
// taking focus (KWin on every one, mutter over the focused window) and which the gauge, that
// never asks for attention, takes off again at once.
class WindowWatch final : public QObject, public QAbstractNativeEventFilter {
  public:
    WindowWatch(QWindow* window, xcb_connection_t* connection, std::function<void()> gone,
                std::function<void()> placed)
        : QObject(window),
          connection_(connection),
          window_(static_cast<xcb_window_t>(window->winId())),
          state_(Atom(connection, "_NET_WM_STATE")),
          attention_(Atom(connection, "_NET_WM_STATE_DEMANDS_ATTENTION")),
          gone_(std::move(gone)),
          placed_(std::move(placed)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~WindowWatch() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        if (type != "xcb_generic_event_t") {
            return false;
        }
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const int code = event->response_type & 0x7f;
        if (code == XCB_DESTROY_NOTIFY && gone_ &&
            reinterpret_cast<const xcb_destroy_notify_event_t*>(event)->window == window_) {
            QMetaObject::invokeMethod(this, std::exchange(gone_, nullptr), Qt::QueuedConnection);
        } else if (code == XCB_CONFIGURE_NOTIFY &&
                   reinterpret_cast<const xcb_configure_notify_event_t*>(event)->window ==
                       window_) {
            // After Qt has taken the event in: the window system's word on where it put the
            // window, which a window manager may have placed elsewhere than asked.
            QMetaObject::invokeMethod(this, placed_, Qt::QueuedConnection);
        } else if (code == XCB_PROPERTY_NOTIFY) {
            const auto* changed = reinterpret_cast<const xcb_property_notify_event_t*>(event);
            if (changed->window == window_ && changed->atom == state_ && DemandsAttention()) {
                DeclineAttention();
            }
        }
        return false;
    }

  private:
    bool DemandsAttention() const {
        const Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(
                connection_,
                xcb_get_property(connection_, 0, window_, state_, XCB_ATOM_ATOM, 0, 32), nullptr),
            &std::free);
        if (!reply) {
            return false;
        }
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
        const auto* end = atoms + xcb_get_property_value_length(reply.get()) / 4;
        return std::find(atoms, end, attention_) != end;
    }

    // The window manager's _NET_WM_STATE request: remove (0) the mark, from an application (1).
    void DeclineAttention() {
        xcb_client_message_event_t request = {};
        request.response_type = XCB_CLIENT_MESSAGE;
        request.format = 32;
        request.window = window_;
        request.type = state_;
        request.data.data32[1] = attention_;
        request.data.data32[3] = 1;
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
        xcb_send_event(connection_, 0, root,
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&request));
        xcb_flush(connection_);
    }

    xcb_connection_t* connection_;
    xcb_window_t window_;
    xcb_atom_t state_;
    xcb_atom_t attention_;
    std::function<void()> gone_;
    std::function<void()> placed_;
};

}  // namespace

bool WatchWindow(QWindow* window, std::function<void()> gone, std::function<void()> placed) {
    xcb_connection_t* connection = X11Connection();
    if (connection != nullptr) {
        new WindowWatch(window, connection, std::move(gone), std::move(placed));
    }
    return connection != nullptr;
}

// The window manager may have minimised the window without Qt knowing yet: a map request is
// how an X client asks for its window back out of the icon state, whatever Qt believes.
void ShowAgain(QWindow* window) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || window->handle() == nullptr) {
        window->raise();
        return;
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    xcb_map_window(connection, id);
    const std::uint32_t above = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(connection, id, XCB_CONFIG_WINDOW_STACK_MODE, &above);
    xcb_flush(connection);
}

// The X server is asked where the window's corner is on the root window: a window manager
// may refuse a move without a word (sway, weston), and Qt then keeps the place it asked for.
std::optional<QPoint> PlacedAt(const QWindow* window) {
    if (QtRunsOn() == QtWindowSystem::kWayland) {
        return std::nullopt;  // a Wayland client is never told where its windows are
    }
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || window->handle() == nullptr) {
        return window->position();
    }
    const auto id = static_cast<xcb_window_t>(window->winId());
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, id), nullptr), &std::free);
    if (!geometry) {
        return window->position();
    }
    const Reply<xcb_translate_coordinates_reply_t> corner(
        xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, id, geometry->root, 0, 0), nullptr),
        &std::free);
    if (!corner) {
        return window->position();
    }
    const qreal ratio = window->devicePixelRatio();
    return QPoint(qRound(corner->dst_x / ratio), qRound(corner->dst_y / ratio));
}

bool NoWindowActive() {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr) {
        return false;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const Reply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(
            connection,
            xcb_get_property(connection, 0, root, Atom(connection, "_NET_ACTIVE_WINDOW"),
                             XCB_ATOM_WINDOW, 0, 1),
            nullptr),
        &std::free);
    if (!reply || reply->type != XCB_ATOM_WINDOW) {
        return false;
    }
    return xcb_get_property_value_length(reply.get()) < 4 ||
           *static_cast<const xcb_window_t*>(xcb_get_property_value(reply.get())) == XCB_NONE;
}

void GiveKeyboardTo(QWindow* window) {
    xcb_connection_t* connection = X11Connection();
    if (connection == nullptr || window->handle() == nullptr) {
        window->requestActivate();
        return;
    }
    xcb_client_message_event_t request = {};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = static_cast<xcb_window_t>(window->winId());
    request.type = Atom(connection, "_NET_ACTIVE_WINDOW");
    request.data.data32[0] = 2;  // from a pager
    request.data.data32[1] = XCB_CURRENT_TIME;
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
}

}  // namespace kelvane
