// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// Which window system Qt reaches, and opening it.

namespace kelvane {

// Chooses how the gauge reaches the window system, before the application object exists.
void PrepareWindowSystem();

// Says that no display could be opened, naming the variables tried, and ends with status 1.
[[noreturn]] void NoDisplayOpened();

// While it lives, the window system is being opened: what Qt says meanwhile is held back,
// and when no display can be opened, one line says so (and which variables were tried) and
// the program ends with status 1 instead of aborting. Said when it ends, if opening went well.
class OpeningDisplay {
  public:
    OpeningDisplay();
    ~OpeningDisplay();
    OpeningDisplay(const OpeningDisplay&) = delete;
    OpeningDisplay& operator=(const OpeningDisplay&) = delete;
};

}  // namespace kelvane
