// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "hosts/wayland/layer_shell_host.h"

#include <linux/input-event-codes.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <wayland-cursor.h>
#include <xkbcommon/xkbcommon.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>
#include <QStyleHints>
#include <QToolTip>
#include <cmath>

#include "drawing/qt/qt_geometry.h"
#include "drawing/qt/qt_platform.h"
#include "rules/layer_placement.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"

namespace kelvane {
namespace {

// As long as Qt's widgets wait before they show a tooltip.
constexpr int kToolTipDelay = 700;  // ms
// A tooltip's frame and margins around its text, about.
constexpr int kToolTipFrame = 16;

constexpr std::uint32_t kAnchorTopLeft =
    ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT;

}  // namespace

LayerShellHost::LayerShellHost(WaylandDisplay& display, FrmMain& gauge)
    : GaugeHost(gauge), display_(display), drawing_(gauge.controls()) {
    drawSoon_.setSingleShot(true);
    connect(&drawSoon_, &QTimer::timeout, this, &LayerShellHost::Draw);
    toolTipSoon_.setSingleShot(true);
    connect(&toolTipSoon_, &QTimer::timeout, this, &LayerShellHost::ShowToolTip);
    connect(&display_, &WaylandDisplay::outputsChanged, this, &LayerShellHost::OutputsChanged,
            Qt::QueuedConnection);
    connect(&display_, &WaylandDisplay::lost, this, [this] { UnloadAll(); });
    connect(&display_, &WaylandDisplay::seatChanged, this,
            [this] { Seat(display_.seatCapabilities()); });
    Seat(display_.seatCapabilities());
    gauge_.OnRepaint([this](const Rect& rect) {
        dirty_ |= ToQt(rect);
        ScheduleDraw();
    });
    gauge_.AttachHost(*this);
}

LayerShellHost::~LayerShellHost() {
    gauge_.OnRepaint(nullptr);
    DropSurface();
    if (cursorSurface_ != nullptr) {
        wl_surface_destroy(cursorSurface_);
    }
    if (cursorTheme_ != nullptr) {
        wl_cursor_theme_destroy(cursorTheme_);
    }
    if (pointer_ != nullptr) {
        wl_pointer_release(pointer_);
    }
    if (keyboard_ != nullptr) {
        wl_keyboard_release(keyboard_);
    }
    xkb_state_unref(keys_);
    xkb_keymap_unref(keymap_);
    xkb_context_unref(xkb_);
    display_.Flush();
}

void LayerShellHost::SetWindowPos(const Rect& rect) {
    where_ = rect;
    ApplyPlace();
}

void LayerShellHost::Move(Point topLeft) {
    where_ = where_.MovedTo(topLeft);
    ApplyPlace();
}

// A layer surface belongs to one output: the window opens on the one that holds its place,
// and a window moved onto another (by a pin, or the screens' rescue) is made anew there. The
// margins are its place on that output; the gauge is told at once, as nothing can refuse it.
void LayerShellHost::ApplyPlace() {
    const WaylandOutput* output = display_.OutputAt(where_.TopLeft());
    if (output != output_ && buttons_ == kNoButton) {
        DropSurface();
        output_ = output;
    }
    if (surface_ == nullptr) {
        MakeSurface();
    }
    const Point margins = LayerMargins(where_, output_ != nullptr ? output_->geometry : Rect());
    zwlr_layer_surface_v1_set_size(layer_, static_cast<std::uint32_t>(where_.width),
                                   static_cast<std::uint32_t>(where_.height));
    zwlr_layer_surface_v1_set_margin(layer_, margins.y, 0, 0, margins.x);
    // At once, not at the next frame: a surface the compositor shows on no output (left off
    // screen by a smaller output) is given no frames until it is back.
    wl_surface_commit(surface_);
    gauge_.WindowMoved(where_);
}

void LayerShellHost::MakeSurface() {
    surface_ = wl_compositor_create_surface(display_.compositor());
    static const wl_surface_listener surfaceListener = {
        // The scale follows the output the surface is shown on.
        [](void* data, wl_surface*, wl_output* output) {
            auto* self = static_cast<LayerShellHost*>(data);
            if (const WaylandOutput* shown = self->display_.OutputOf(output)) {
                self->output_ = shown;
                self->ScheduleDraw();
            }
        },
        [](void*, wl_surface*, wl_output*) {},
    };
    wl_surface_add_listener(surface_, &surfaceListener, this);
    layer_ = zwlr_layer_shell_v1_get_layer_surface(display_.layerShell(), surface_,
                                                   output_ != nullptr ? output_->output : nullptr,
                                                   ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, "kelvane");
    static const zwlr_layer_surface_v1_listener layerListener = {
        [](void* data, zwlr_layer_surface_v1*, std::uint32_t serial, std::uint32_t, std::uint32_t) {
            static_cast<LayerShellHost*>(data)->Configured(serial);
        },
        // Its output has gone: the window comes back on one that is there.
        [](void* data, zwlr_layer_surface_v1*) {
            auto* self = static_cast<LayerShellHost*>(data);
            self->DropSurface();
            self->output_ = nullptr;
            QMetaObject::invokeMethod(self, &LayerShellHost::OutputsChanged, Qt::QueuedConnection);
        },
    };
    zwlr_layer_surface_v1_add_listener(layer_, &layerListener, this);
    zwlr_layer_surface_v1_set_anchor(layer_, kAnchorTopLeft);
    // Pushes nothing aside, and is pushed by nothing.
    zwlr_layer_surface_v1_set_exclusive_zone(layer_, -1);
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        layer_, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    keyboardWanted_ = false;
    configured_ = false;
}

void LayerShellHost::DropSurface() {
    if (frame_ != nullptr) {
        wl_callback_destroy(frame_);
        frame_ = nullptr;
    }
    if (layer_ != nullptr) {
        zwlr_layer_surface_v1_destroy(layer_);
        layer_ = nullptr;
    }
    if (surface_ != nullptr) {
        wl_surface_destroy(surface_);
        surface_ = nullptr;
    }
    DropBuffers();
    configured_ = false;
    pointerInside_ = false;
}

// A new size is drawn at once, whether the last frame has been shown or not.
void LayerShellHost::Configured(std::uint32_t serial) {
    zwlr_layer_surface_v1_ack_configure(layer_, serial);
    configured_ = true;
    if (frame_ != nullptr) {
        wl_callback_destroy(std::exchange(frame_, nullptr));
    }
    Draw();
}

int LayerShellHost::Scale() const {
    return output_ != nullptr ? output_->scale : 1;
}

// Repaints wait for the compositor's next frame: the 100 Hz tick draws no more often than the
// output shows, and every change since the last frame goes in one commit.
void LayerShellHost::ScheduleDraw() {
    if (configured_ && frame_ == nullptr && !drawSoon_.isActive()) {
        drawSoon_.start(0);
    }
}

void LayerShellHost::Draw() {
    if (!configured_ || frame_ != nullptr) {
        return;
    }
    const int scale = Scale();
    const QSize size(where_.width, where_.height);
    if (scale != bufferScale_ || buffers_[0].image.size() != size * scale) {
        DropBuffers();
        bufferScale_ = scale;
        dirty_ = QRect(QPoint(0, 0), size);
    }
    if (dirty_.isEmpty()) {
        return;
    }
    Buffer* buffer = FreeBuffer();
    if (buffer == nullptr) {
        return;  // both are still shown: drawn when one comes back
    }
    const QRegion area = dirty_ | buffer->stale;
    {
        QPainter painter(&buffer->image);
        painter.setClipRegion(area);
        drawing_.Paint(painter, area);
    }
    for (Buffer& other : buffers_) {
        other.stale = &other == buffer ? QRegion() : other.stale | dirty_;
    }
    wl_surface_set_buffer_scale(surface_, bufferScale_);
    wl_surface_attach(surface_, buffer->buffer, 0, 0);
    for (const QRect& rect : dirty_) {
        wl_surface_damage_buffer(surface_, rect.x() * scale, rect.y() * scale, rect.width() * scale,
                                 rect.height() * scale);
    }
    dirty_ = QRegion();
    buffer->busy = true;
    static const wl_callback_listener frameListener = {
        [](void* data, wl_callback* callback, std::uint32_t) {
            auto* self = static_cast<LayerShellHost*>(data);
            wl_callback_destroy(callback);
            self->frame_ = nullptr;
            self->ScheduleDraw();
        },
    };
    frame_ = wl_surface_frame(surface_);
    wl_callback_add_listener(frame_, &frameListener, this);
    wl_surface_commit(surface_);
}

// Two buffers in shared memory, made when first needed at the window's size and scale.
LayerShellHost::Buffer* LayerShellHost::FreeBuffer() {
    for (Buffer& buffer : buffers_) {
        if (buffer.busy) {
            continue;
        }
        if (buffer.buffer != nullptr) {
            return &buffer;
        }
        const QSize size = QSize(where_.width, where_.height) * bufferScale_;
        const int stride = size.width() * 4;
        buffer.bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(size.height());
        const int fd = memfd_create("kelvane", MFD_CLOEXEC | MFD_ALLOW_SEALING);
        if (fd < 0 || ftruncate(fd, static_cast<off_t>(buffer.bytes)) != 0) {
            if (fd >= 0) {
                ::close(fd);
            }
            return nullptr;
        }
        void* data = mmap(nullptr, buffer.bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
        if (data == MAP_FAILED) {
            ::close(fd);
            return nullptr;
        }
        wl_shm_pool* pool =
            wl_shm_create_pool(display_.shm(), fd, static_cast<std::int32_t>(buffer.bytes));
        buffer.buffer = wl_shm_pool_create_buffer(pool, 0, size.width(), size.height(), stride,
                                                  WL_SHM_FORMAT_XRGB8888);
        wl_shm_pool_destroy(pool);
        ::close(fd);
        static const wl_buffer_listener listener = {
            [](void* data, wl_buffer*) {
                auto* released = static_cast<Buffer*>(data);
                released->busy = false;
                released->owner->ScheduleDraw();
            },
        };
        buffer.owner = this;
        wl_buffer_add_listener(buffer.buffer, &listener, &buffer);
        buffer.data = static_cast<uchar*>(data);
        buffer.image =
            QImage(buffer.data, size.width(), size.height(), stride, QImage::Format_RGB32);
        buffer.image.setDevicePixelRatio(bufferScale_);
        buffer.stale = QRect(0, 0, where_.width, where_.height);
        return &buffer;
    }
    return nullptr;
}

void LayerShellHost::DropBuffers() {
    for (Buffer& buffer : buffers_) {
        if (buffer.buffer != nullptr) {
            wl_buffer_destroy(buffer.buffer);
            munmap(buffer.data, buffer.bytes);
        }
        buffer = Buffer{};
    }
}

void LayerShellHost::BringToFront() {
    if (surface_ == nullptr) {
        ApplyPlace();
    }
}

// Every start places the window, which makes its surface: shown once the compositor has it.
void LayerShellHost::ShowWindow() {
    if (surface_ == nullptr && !where_.IsEmpty()) {
        ApplyPlace();
    }
}

void LayerShellHost::ReleaseWindow() {
    unloaded_ = true;
    DropSurface();
    display_.Flush();
}

// The screens changed: the gauge's rescue moves the window back onto one, and a window whose
// output has gone is made anew on the one that holds its place now.
void LayerShellHost::OutputsChanged() {
    if (unloaded_) {
        return;
    }
    gauge_.ScreensChanged();
    if (surface_ == nullptr || display_.OutputAt(where_.TopLeft()) != output_) {
        ApplyPlace();
    }
}

void LayerShellHost::Seat(std::uint32_t capabilities) {
    TakePointer((capabilities & WL_SEAT_CAPABILITY_POINTER) != 0);
    TakeKeyboard((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0);
}

void LayerShellHost::TakePointer(bool present) {
    if (present && pointer_ == nullptr) {
        pointer_ = wl_seat_get_pointer(display_.seat());
        static const wl_pointer_listener listener = {
            [](void* data, wl_pointer*, std::uint32_t serial, wl_surface*, wl_fixed_t x,
               wl_fixed_t y) {
                auto* self = static_cast<LayerShellHost*>(data);
                self->pointerInside_ = true;
                self->SetCursor(serial);
                self->PointerAt(wl_fixed_to_double(x), wl_fixed_to_double(y));
            },
            [](void* data, wl_pointer*, std::uint32_t, wl_surface*) {
                static_cast<LayerShellHost*>(data)->PointerLeft();
            },
            [](void* data, wl_pointer*, std::uint32_t, wl_fixed_t x, wl_fixed_t y) {
                static_cast<LayerShellHost*>(data)->PointerAt(wl_fixed_to_double(x),
                                                              wl_fixed_to_double(y));
            },
            [](void* data, wl_pointer*, std::uint32_t, std::uint32_t time, std::uint32_t button,
               std::uint32_t state) {
                auto* self = static_cast<LayerShellHost*>(data);
                self->lastPressTime_ = state == WL_POINTER_BUTTON_STATE_PRESSED ? time : 0;
                self->Button(button, state == WL_POINTER_BUTTON_STATE_PRESSED);
            },
            [](void*, wl_pointer*, std::uint32_t, std::uint32_t, wl_fixed_t) {},
            [](void*, wl_pointer*) {},
            [](void*, wl_pointer*, std::uint32_t) {},
            [](void*, wl_pointer*, std::uint32_t, std::uint32_t) {},
            [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
            [](void*, wl_pointer*, std::uint32_t, std::int32_t) {},
        };
        wl_pointer_add_listener(pointer_, &listener, this);
    } else if (!present && pointer_ != nullptr) {
        wl_pointer_release(std::exchange(pointer_, nullptr));
    }
}

void LayerShellHost::TakeKeyboard(bool present) {
    if (present && keyboard_ == nullptr) {
        keyboard_ = wl_seat_get_keyboard(display_.seat());
        static const wl_keyboard_listener listener = {
            [](void* data, wl_keyboard*, std::uint32_t format, std::int32_t fd,
               std::uint32_t size) {
                if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1) {
                    static_cast<LayerShellHost*>(data)->Keymap(fd, size);
                }
                ::close(fd);
            },
            [](void* data, wl_keyboard*, std::uint32_t, wl_surface* surface, wl_array*) {
                auto* self = static_cast<LayerShellHost*>(data);
                self->keyboardFocused_ = surface != nullptr && surface == self->surface_;
            },
            [](void* data, wl_keyboard*, std::uint32_t, wl_surface*) {
                static_cast<LayerShellHost*>(data)->keyboardFocused_ = false;
            },
            [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t key,
               std::uint32_t state) {
                if (state == WL_KEYBOARD_KEY_STATE_PRESSED) {
                    static_cast<LayerShellHost*>(data)->Key(key);
                }
            },
            [](void* data, wl_keyboard*, std::uint32_t, std::uint32_t depressed,
               std::uint32_t latched, std::uint32_t locked, std::uint32_t group) {
                auto* self = static_cast<LayerShellHost*>(data);
                if (self->keys_ != nullptr) {
                    xkb_state_update_mask(self->keys_, depressed, latched, locked, 0, 0, group);
                }
            },
            [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
        };
        wl_keyboard_add_listener(keyboard_, &listener, this);
    } else if (!present && keyboard_ != nullptr) {
        wl_keyboard_release(std::exchange(keyboard_, nullptr));
    }
}

// While a button is held, wlroots gives the pointer against where the surface was at the
// press, however far it has moved since: on the screen, the pointer is that place plus the
// position. Otherwise it is against where the surface is.
void LayerShellHost::PointerAt(double x, double y) {
    pointerAt_ = {x, y};
    if (buttons_ != kNoButton) {
        gauge_.MouseMove(PointF(pressPlace_) + pointerAt_, buttons_);
    } else {
        toolTipSoon_.start(kToolTipDelay);
    }
}

// The arrow of the user's cursor theme (XCURSOR_THEME, XCURSOR_SIZE), as over any window;
// a surface that sets none shows whatever the pointer showed last.
void LayerShellHost::SetCursor(std::uint32_t serial) {
    const int scale = Scale();
    if (cursorTheme_ == nullptr || cursorScale_ != scale) {
        if (cursorTheme_ != nullptr) {
            wl_cursor_theme_destroy(cursorTheme_);
        }
        const int size = qEnvironmentVariableIntValue("XCURSOR_SIZE");
        const QByteArray theme = qgetenv("XCURSOR_THEME");
        cursorTheme_ = wl_cursor_theme_load(theme.isEmpty() ? nullptr : theme.constData(),
                                            (size > 0 ? size : 24) * scale, display_.shm());
        cursorScale_ = scale;
    }
    wl_cursor* arrow =
        cursorTheme_ != nullptr ? wl_cursor_theme_get_cursor(cursorTheme_, "left_ptr") : nullptr;
    if (arrow == nullptr || arrow->image_count == 0) {
        return;
    }
    wl_cursor_image* image = arrow->images[0];
    if (cursorSurface_ == nullptr) {
        cursorSurface_ = wl_compositor_create_surface(display_.compositor());
    }
    wl_surface_set_buffer_scale(cursorSurface_, scale);
    wl_surface_attach(cursorSurface_, wl_cursor_image_get_buffer(image), 0, 0);
    wl_surface_damage_buffer(cursorSurface_, 0, 0, static_cast<std::int32_t>(image->width),
                             static_cast<std::int32_t>(image->height));
    wl_surface_commit(cursorSurface_);
    wl_pointer_set_cursor(pointer_, serial, cursorSurface_,
                          static_cast<std::int32_t>(image->hotspot_x) / scale,
                          static_cast<std::int32_t>(image->hotspot_y) / scale);
}

void LayerShellHost::PointerLeft() {
    pointerInside_ = false;
    toolTipSoon_.stop();
    QToolTip::hideText();
    // The keyboard goes back to the windows once the pointer has left the gauge.
    if (buttons_ == kNoButton) {
        WantKeyboard(false);
    }
}

void LayerShellHost::Button(std::uint32_t button, bool pressed) {
    // Another button (a mouse's side buttons) presses as the others do, and drags nothing.
    const MouseButtons which = button == BTN_LEFT     ? kLeftButton
                               : button == BTN_RIGHT  ? kRightButton
                               : button == BTN_MIDDLE ? kMiddleButton
                                                      : 8;
    toolTipSoon_.stop();
    QToolTip::hideText();
    if (pressed) {
        const bool first = buttons_ == kNoButton;
        buttons_ |= which;
        if (first) {
            pressPlace_ = where_.TopLeft();
        }
        const std::uint32_t time = lastPressTime_;
        const bool doubleClick =
            lastPress_ != 0 &&
            time - lastPress_ <= static_cast<std::uint32_t>(
                                     QGuiApplication::styleHints()->mouseDoubleClickInterval()) &&
            std::abs(pointerAt_.x - lastPressAt_.x) + std::abs(pointerAt_.y - lastPressAt_.y) <=
                QGuiApplication::styleHints()->mouseDoubleClickDistance();
        lastPress_ = doubleClick ? 0 : time;
        lastPressAt_ = pointerAt_;
        // A click on the gauge gives it the keyboard, for the function keys.
        WantKeyboard(true);
        gauge_.MouseDown(pointerAt_, doubleClick);
    } else {
        buttons_ &= ~which;
        gauge_.MouseUp(pointerAt_, buttons_);
        if (buttons_ == kNoButton && display_.OutputAt(where_.TopLeft()) != output_) {
            ApplyPlace();  // dragged onto another output: made anew there
        }
        if (buttons_ == kNoButton && !pointerInside_) {
            WantKeyboard(false);
        }
    }
}

// The keyboard is asked for with on-demand interactivity, which wlroots answers by focusing the
// surface at once, and given back with none. sway 1.7 keeps the focus on a surface that says
// none, and does not take it back for a click elsewhere either: a surface that has the keyboard
// when it gives it back is made anew, which a compositor maps without focus.
void LayerShellHost::WantKeyboard(bool wanted) {
    if (layer_ == nullptr || wanted == keyboardWanted_) {
        return;
    }
    keyboardWanted_ = wanted;
    if (!wanted && keyboardFocused_) {
        keyboardFocused_ = false;
        DropSurface();
        ApplyPlace();
        return;
    }
    zwlr_layer_surface_v1_set_keyboard_interactivity(
        layer_, wanted ? ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_ON_DEMAND
                       : ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_NONE);
    wl_surface_commit(surface_);
}

void LayerShellHost::Keymap(int fd, std::uint32_t size) {
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (text == MAP_FAILED) {
        return;
    }
    if (xkb_ == nullptr) {
        xkb_ = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    }
    xkb_keymap* keymap =
        xkb_ != nullptr
            ? xkb_keymap_new_from_string(xkb_, static_cast<const char*>(text),
                                         XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS)
            : nullptr;
    munmap(text, size);
    if (keymap == nullptr) {
        return;
    }
    xkb_state_unref(keys_);
    xkb_keymap_unref(keymap_);
    keymap_ = keymap;
    keys_ = xkb_state_new(keymap_);
}

// F1 to F12, whatever the modifiers.
void LayerShellHost::Key(std::uint32_t key) {
    if (keys_ == nullptr) {
        return;
    }
    // Evdev codes are 8 below XKB's.
    const int number = FunctionKeyNumber(xkb_state_key_get_one_sym(keys_, key + 8));
    if (number != 0) {
        gauge_.Form_KeyDown(FKey(number));
    }
}

// Qt shows it where the pointer is on the screen, which is this surface's place plus the
// position.
void LayerShellHost::ShowToolTip() {
    if (!pointerInside_ || QtRunsOn() == QtWindowSystem::kWayland) {
        return;  // a Qt Wayland tooltip needs a Qt window of its own to hang from
    }
    const QString text = ToolTipAt(pointerAt_.Rounded());
    if (text.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    // Beside the gauge, not over it: an X window is drawn below the overlay layer. On the side
    // with room for it.
    const int width = QFontMetrics(QToolTip::font()).boundingRect(text).width() + kToolTipFrame;
    const Rect screen = gauge_.ScreenOf(where_);
    const int y = where_.y + pointerAt_.Rounded().y;
    const QPoint right(where_.Right(), y);
    const QPoint left(where_.x - width, y);
    // Qt shows a tooltip a little right of and below the point it is given.
    const QPoint offset(2, 16);
    QToolTip::showText((right.x() + width <= screen.Right() ? right : left) - offset,
                       AsToolTip(text));
}

}  // namespace kelvane
