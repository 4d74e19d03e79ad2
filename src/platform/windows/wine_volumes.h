// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <optional>

#include "platform/windows/drive_queries.h"

namespace kelvane {

// Under Wine, the drive helpers ask a letter's volume on the Linux side, through the letter's
// Unix path and the Linux system calls themselves. Wine's own calls open the volume's root,
// and Wine's server then asks the file system about a volume it has not met: one that never
// answers stops that server, and with it every Windows program of the session, the gauge's
// window included. Asked directly, such a volume holds only the helper that asked. Nothing on
// Windows, where the calls of DriveCalls{} hold only their own thread.
std::optional<DriveCalls> WineDriveCalls();

}  // namespace kelvane
