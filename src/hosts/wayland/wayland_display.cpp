// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "hosts/wayland/wayland_display.h"

#include <wayland-client.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <cmath>
#include <cstring>

#include "rules/layer_placement.h"
#include "rules/window_layout.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-output-unstable-v1-client-protocol.h"

namespace kelvane {
namespace {

// The first version with on-demand keyboard focus: without it the gauge could take either no
// key or every key.
constexpr std::uint32_t kLayerShellVersion = 4;

bool Is(const char* interface, const wl_interface& known) {
    return std::strcmp(interface, known.name) == 0;
}

// The outputs' logical geometry, as the gauge's placement rules read screens.
class OutputScreens final : public ScreenInfo {
  public:
    explicit OutputScreens(const WaylandDisplay& display) : display_(display) {}
    Size PrimarySize() const override { return Geometries().front().GetSize(); }
    Rect GeometryAt(Point point) const override {
        const WaylandOutput* output = display_.OutputAt(point);
        return output != nullptr ? output->geometry : kFallbackScreen;
    }
    std::vector<Rect> Geometries() const override {
        std::vector<Rect> all;
        for (const auto& output : display_.outputs()) {
            if (output->complete) {
                all.push_back(output->geometry);
            }
        }
        if (all.empty()) {
            all.push_back(kFallbackScreen);
        }
        return all;
    }

  private:
    const WaylandDisplay& display_;
};

}  // namespace

std::unique_ptr<WaylandDisplay> WaylandDisplay::Open(const QByteArray& askedPlatform) {
    if (!askedPlatform.isEmpty() && !askedPlatform.startsWith("wayland")) {
        return nullptr;  // xcb (XWayland) or offscreen, asked for by name
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    std::unique_ptr<WaylandDisplay> self(new WaylandDisplay);
    self->display_ = display;
    static const wl_registry_listener listener = {&WaylandDisplay::Global,
                                                  &WaylandDisplay::GlobalRemove};
    self->registry_ = wl_display_get_registry(display);
    wl_registry_add_listener(self->registry_, &listener, self.get());
    // The globals, then the outputs' geometry.
    if (wl_display_roundtrip(display) < 0 || self->layerShell_ == nullptr ||
        self->compositor_ == nullptr || self->shm_ == nullptr ||
        wl_display_roundtrip(display) < 0) {
        return nullptr;
    }
    self->announced_ = true;
    auto* notifier =
        new QSocketNotifier(wl_display_get_fd(display), QSocketNotifier::Read, self.get());
    self->notifier_ = notifier;
    connect(notifier, &QSocketNotifier::activated, self.get(), &WaylandDisplay::Dispatch);
    // What the program asked for goes out before the event loop waits: one write a wake-up.
    connect(QCoreApplication::eventDispatcher(), &QAbstractEventDispatcher::aboutToBlock,
            self.get(), [d = self.get()] {
                if (d->notifier_->isEnabled()) {
                    wl_display_dispatch_pending(d->display_);
                    d->Flush();
                }
            });
    return self;
}

WaylandDisplay::~WaylandDisplay() {
    for (const auto& output : outputs_) {
        if (output->logical != nullptr) {
            zxdg_output_v1_destroy(output->logical);
        }
        wl_output_destroy(output->output);
    }
    if (outputManager_ != nullptr) {
        zxdg_output_manager_v1_destroy(outputManager_);
    }
    if (layerShell_ != nullptr) {
        zwlr_layer_shell_v1_destroy(layerShell_);
    }
    if (seat_ != nullptr) {
        wl_seat_destroy(seat_);
    }
    if (shm_ != nullptr) {
        wl_shm_destroy(shm_);
    }
    if (compositor_ != nullptr) {
        wl_compositor_destroy(compositor_);
    }
    if (registry_ != nullptr) {
        wl_registry_destroy(registry_);
    }
    wl_display_disconnect(display_);
}

void WaylandDisplay::Global(void* data, wl_registry* registry, std::uint32_t name,
                            const char* interface, std::uint32_t version) {
    auto* self = static_cast<WaylandDisplay*>(data);
    const auto bind = [&](const wl_interface& known, std::uint32_t wanted) {
        return wl_registry_bind(registry, name, &known, std::min(version, wanted));
    };
    if (Is(interface, wl_compositor_interface) && version >= 4) {
        self->compositor_ = static_cast<wl_compositor*>(bind(wl_compositor_interface, 4));
    } else if (Is(interface, wl_shm_interface)) {
        self->shm_ = static_cast<wl_shm*>(bind(wl_shm_interface, 1));
    } else if (Is(interface, wl_seat_interface) && self->seat_ == nullptr) {
        self->seat_ = static_cast<wl_seat*>(bind(wl_seat_interface, 5));
        static const wl_seat_listener listener = {
            [](void* data, wl_seat*, std::uint32_t capabilities) {
                auto* self = static_cast<WaylandDisplay*>(data);
                self->seatCapabilities_ = capabilities;
                emit self->seatChanged();
            },
            [](void*, wl_seat*, const char*) {},
        };
        wl_seat_add_listener(self->seat_, &listener, self);
    } else if (Is(interface, zwlr_layer_shell_v1_interface) && version >= kLayerShellVersion) {
        self->layerShell_ = static_cast<zwlr_layer_shell_v1*>(
            bind(zwlr_layer_shell_v1_interface, kLayerShellVersion));
    } else if (Is(interface, zxdg_output_manager_v1_interface)) {
        self->outputManager_ =
            static_cast<zxdg_output_manager_v1*>(bind(zxdg_output_manager_v1_interface, 3));
        for (const auto& output : self->outputs_) {
            self->WatchLogical(*output);
        }
    } else if (Is(interface, wl_output_interface)) {
        self->AddOutput(name, version);
    }
}

void WaylandDisplay::GlobalRemove(void* data, wl_registry*, std::uint32_t name) {
    auto* self = static_cast<WaylandDisplay*>(data);
    auto& outputs = self->outputs_;
    const auto gone = std::find_if(outputs.begin(), outputs.end(),
                                   [name](const auto& output) { return output->name == name; });
    if (gone == outputs.end()) {
        return;
    }
    std::unique_ptr<WaylandOutput> output = std::move(*gone);
    outputs.erase(gone);
    emit self->outputsChanged();
    if (output->logical != nullptr) {
        zxdg_output_v1_destroy(output->logical);
    }
    wl_output_destroy(output->output);
}

void WaylandDisplay::AddOutput(std::uint32_t name, std::uint32_t version) {
    auto output = std::make_unique<WaylandOutput>();
    output->owner = this;
    output->name = name;
    output->output = static_cast<wl_output*>(wl_registry_bind(registry_, name, &wl_output_interface,
                                                              std::min<std::uint32_t>(version, 2)));
    static const wl_output_listener listener = {
        // The position, for a compositor with no xdg-output to give it in logical pixels.
        [](void* data, wl_output*, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
           std::int32_t, const char*, const char*, std::int32_t) {
            static_cast<WaylandOutput*>(data)->position = {x, y};
        },
        [](void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height,
           std::int32_t) {
            if ((flags & WL_OUTPUT_MODE_CURRENT) != 0) {
                static_cast<WaylandOutput*>(data)->modeSize = {width, height};
            }
        },
        [](void* data, wl_output*) {
            auto* output = static_cast<WaylandOutput*>(data);
            output->owner->OutputDone(*output);
        },
        [](void* data, wl_output*, std::int32_t factor) {
            static_cast<WaylandOutput*>(data)->scale = std::max(1, factor);
        },
        [](void*, wl_output*, const char*) {},
        [](void*, wl_output*, const char*) {},
    };
    wl_output_add_listener(output->output, &listener, output.get());
    WaylandOutput& added = *output;
    outputs_.push_back(std::move(output));
    WatchLogical(added);
}

// Where xdg-output is offered, it gives the output's place and size in logical pixels, which
// is what layer-surface margins and the stored position are in.
void WaylandDisplay::WatchLogical(WaylandOutput& output) {
    if (outputManager_ == nullptr || output.logical != nullptr) {
        return;
    }
    output.logical = zxdg_output_manager_v1_get_xdg_output(outputManager_, output.output);
    static const zxdg_output_v1_listener listener = {
        [](void* data, zxdg_output_v1*, std::int32_t x, std::int32_t y) {
            auto* output = static_cast<WaylandOutput*>(data);
            output->geometry = output->geometry.MovedTo({x, y});
        },
        [](void* data, zxdg_output_v1*, std::int32_t width, std::int32_t height) {
            auto* output = static_cast<WaylandOutput*>(data);
            output->geometry = {output->geometry.TopLeft(), {width, height}};
        },
        // Version 3 ends a change with wl_output's done alone.
        [](void*, zxdg_output_v1*) {},
        [](void*, zxdg_output_v1*, const char*) {},
        [](void*, zxdg_output_v1*, const char*) {},
    };
    zxdg_output_v1_add_listener(output.logical, &listener, &output);
}

void WaylandDisplay::OutputDone(WaylandOutput& output) {
    if (output.logical == nullptr) {
        const auto logical = [&output](int pixels) {
            return static_cast<int>(std::floor(static_cast<double>(pixels) / output.scale + 0.5));
        };
        output.geometry = {output.position,
                           {logical(output.modeSize.width), logical(output.modeSize.height)}};
    }
    output.complete = !output.geometry.IsEmpty();
    if (announced_) {
        emit outputsChanged();
    }
}

const WaylandOutput* WaylandDisplay::OutputAt(Point point) const {
    std::vector<Rect> geometries;
    std::vector<const WaylandOutput*> complete;
    for (const auto& output : outputs_) {
        if (output->complete) {
            geometries.push_back(output->geometry);
            complete.push_back(output.get());
        }
    }
    const int index = ScreenIndexAt(point, geometries);
    return index >= 0 ? complete[static_cast<std::size_t>(index)] : nullptr;
}

const WaylandOutput* WaylandDisplay::OutputOf(const wl_output* wanted) const {
    for (const auto& output : outputs_) {
        if (output->output == wanted) {
            return output.get();
        }
    }
    return nullptr;
}

std::unique_ptr<ScreenInfo> WaylandDisplay::Screens() const {
    return std::make_unique<OutputScreens>(*this);
}

void WaylandDisplay::Flush() {
    wl_display_flush(display_);
}

// Only when the socket has something: the read does not wait.
void WaylandDisplay::Dispatch() {
    if (wl_display_dispatch(display_) < 0) {
        notifier_->setEnabled(false);
        emit lost();
    }
}

}  // namespace kelvane
