// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Counts heap allocations by standing in for the C allocator's entry points: the program's
// own definitions come first in symbol lookup, so Qt's and libstdc++'s calls land here too.
// Replacing operator new alone would miss Qt, which gets its string and array storage from
// malloc directly.

#include "alloc_counter.h"

#include <atomic>
#include <cerrno>
#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace {

std::atomic<std::uint64_t> allocations{0};

void Count() {
    allocations.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

namespace kelvane::bench {

std::uint64_t Allocations() {
    return allocations.load(std::memory_order_relaxed);
}

}  // namespace kelvane::bench

extern "C" {

void* malloc(std::size_t size) noexcept {
    Count();
    return __libc_malloc(size);
}

void* calloc(std::size_t count, std::size_t size) noexcept {
    Count();
    return __libc_calloc(count, size);
}

// Shrinking or growing in place is still a trip to the allocator the hot path should avoid.
void* realloc(void* pointer, std::size_t size) noexcept {
    Count();
    return __libc_realloc(pointer, size);
}

void* memalign(std::size_t alignment, std::size_t size) noexcept {
    Count();
    return __libc_memalign(alignment, size);
}

void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    Count();
    return __libc_memalign(alignment, size);
}

int posix_memalign(void** out, std::size_t alignment, std::size_t size) noexcept {
    Count();
    void* pointer = __libc_memalign(alignment, size);
    if (pointer == nullptr) {
        return ENOMEM;
    }
    *out = pointer;
    return 0;
}

}  // extern "C"
