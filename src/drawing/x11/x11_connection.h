// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

struct xcb_connection_t;

namespace kelvane {

// Qt's own connection to the X server where Qt runs on X11 (or XWayland); none on any other
// platform of Qt's. Every question to the X server goes over it.
xcb_connection_t* X11Connection();

}  // namespace kelvane
