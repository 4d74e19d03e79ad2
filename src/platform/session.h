// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// The desktop session the gauge runs in: which window system it uses, and how the session
// ends it.

#include <QString>
#include <QStringList>
#include <functional>

class QObject;

namespace kelvane {

// The first thing at start, before any file is touched. False, having said why in one line,
// when the gauge must not run at all: started with raised privileges (setuid, setgid or file
// capabilities), where the user's environment would steer a program that can do more than
// the user. Otherwise a message written to a pipe whose reader has gone no longer ends it.
bool PrepareProcess();

// Chooses how the gauge reaches the window system, before the application object exists.
void PrepareWindowSystem();

// While it lives, the window system is being opened: what Qt says meanwhile is held back,
// and when no display can be opened, one line says so (and which variables were tried) and
// the program ends with status 1 instead of aborting. Said when it ends, if opening went well.
// Says that no display could be opened, naming the variables tried, and ends with status 1.
[[noreturn]] void NoDisplayOpened();

class OpeningDisplay {
  public:
    OpeningDisplay();
    ~OpeningDisplay();
    OpeningDisplay(const OpeningDisplay&) = delete;
    OpeningDisplay& operator=(const OpeningDisplay&) = delete;
};

// Calls `close` on the event loop, under `context`, when SIGTERM, SIGINT or SIGHUP arrives:
// logout and kill close the gauge as its own close button would.
void CloseOnTerminationSignals(QObject* context, std::function<void()> close);

// Calls `last`, once, when the process ends by exit() without returning from main (Qt ends
// the program that way when its X connection breaks), unless the returned guard has gone.
class AtExit {
  public:
    explicit AtExit(std::function<void()> last);
    ~AtExit();
    AtExit(const AtExit&) = delete;
    AtExit& operator=(const AtExit&) = delete;
};

}  // namespace kelvane
