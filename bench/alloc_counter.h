// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <cstdint>

namespace kelvane::bench {

// Heap allocations made by the whole process (Qt included) since it started: every call of
// malloc, calloc, realloc, the aligned variants and, through them, operator new.
std::uint64_t Allocations();

}  // namespace kelvane::bench
