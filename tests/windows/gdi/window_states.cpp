// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "window_states.h"

#include "gauge/gauge_adapter.h"

namespace kelvane {
namespace {

void Tick(FakeGauge& g) {
    g.window.Timer1_Timer();
}

// Panel p shows reading codes[p]; every panel's letter names a drive, each full to its own level.
void SetSections(FakeGauge& g, const std::array<int, kPanels>& codes, bool allDrives = false) {
    for (int p = 0; p < kPanels; ++p) {
        g.settings.values[{"Forms", "Section_" + std::to_string(p + 1)}] =
            std::to_string(codes[static_cast<std::size_t>(p)]);
    }
    for (int k = 0; k < kDriveLetters && allDrives; ++k) {
        g.volumes.space[static_cast<std::size_t>(k)] = {4 * k + 1, 100};
    }
    g.volumes.PassFirst(allDrives ? kDriveLetters : g.volumes.found);
}

}  // namespace

void Enter(FakeGauge& g, const WindowState& state) {
    if (state.before) {
        state.before(g);
    }
    g.Start();
    if (state.after) {
        state.after(g);
    }
}

std::vector<WindowState> WindowStates() {
    std::vector<WindowState> all = {
        {"the first tick's figures and bars", "start-ticked", nullptr, Tick},
        {"figures not known: memory never read, a letter that names no volume", "unknown-figures",
         [](FakeGauge& g) {
             g.memory.readable = false;
             g.volumes.PassFirst(5);
             SetSections(g, {0, 3, 6, 7, 20, 1, 4, 2});
         },
         Tick},
        {"figures squeezed into their labels", "memory-16-digits",
         [](FakeGauge& g) {
             g.memory.status = {9'007'199'254'740'991LL * 1024, 1024};
             SetSections(g, {0, 1, 2, 3, 4, 5, 6, 7});
         },
         Tick},
    };
    for (int start = 0; start < 32; start += 8) {
        std::array<int, kPanels> codes{};
        for (int p = 0; p < kPanels; ++p) {
            codes[static_cast<std::size_t>(p)] = (start + p) % 31;
        }
        all.push_back({"every reading, eight at a time", "kinds-from-" + std::to_string(start),
                       [codes](FakeGauge& g) { SetSections(g, codes, true); }, Tick});
    }
    for (int code = 1; code <= 8; ++code) {
        all.push_back({"each size of the window, one step on by the size button",
                       "size-button-from-" + std::to_string(code),
                       [code](FakeGauge& g) {
                           g.settings.values[{"Forms", "Panels"}] = std::to_string(code);
                       },
                       [](FakeGauge& g) {
                           // A click as Qt hands it to the view: a press, then a release.
                           Tick(g);
                           const Point at =
                               GaugeAdapter(g.window).ButtonRect(GaugeButton::kSize).Center();
                           g.window.MouseDown(at, false);
                           g.window.MouseUp(at, kNoButton);
                           Tick(g);
                       }});
    }
    const char* const buttons[kGaugeButtons] = {"close",    "size",    "help",
                                                "pin-left", "pin-top", "pin-right"};
    for (int b = 0; b < kGaugeButtons; ++b) {
        all.push_back(
            {"a button held down", std::string("held-") + buttons[b], nullptr, [b](FakeGauge& g) {
                 Tick(g);
                 const auto button = static_cast<GaugeButton>(b);
                 g.window.MouseDown(GaugeAdapter(g.window).ButtonRect(button).Center(), false);
             }});
    }
    return all;
}

}  // namespace kelvane
