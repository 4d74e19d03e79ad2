/* SPDX-FileCopyrightText: 2026 The Kelvane developers */
/* SPDX-License-Identifier: MIT */

/* The resources a Win32 host asks for by number, for C++ and for the resource compiler alike. */
#pragma once

/* The gauge's icon: the window's, the taskbar's and Explorer's (the first icon of the file). */
#define KELVANE_ICON 1
