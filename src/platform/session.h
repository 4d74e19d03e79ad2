// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// The process the gauge runs in: what it refuses to run as, and how the session ends it.

#include <functional>

class QObject;

namespace kelvane {

// The first thing at start, before any file is touched. False, having said why in one line,
// when the gauge must not run at all: started with raised privileges (setuid, setgid or file
// capabilities), where the user's environment would steer a program that can do more than
// the user. Otherwise a message written to a pipe whose reader has gone no longer ends it.
bool PrepareProcess();

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
