// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>
#include <string>
#include <vector>

#include "fakes/fake_platform.h"

namespace kelvane {

// The main window in a state worth a picture, made as the view's reference pictures are made
// (tests/view/pixel_check.cpp, through Qt's events): a gauge over the fake platform, set up
// before it starts and acted on after, here through the verbs a host calls.
struct WindowState {
    std::string behaviour;
    std::string reference;  // the reference picture's name
    std::function<void(FakeGauge&)> before;
    std::function<void(FakeGauge&)> after;
};
std::vector<WindowState> WindowStates();
void Enter(FakeGauge& g, const WindowState& state);

}  // namespace kelvane
