// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace kelvane {

// An answer of N words that a helper process writes into memory shared with the gauge and the
// gauge reads without a lock: the sequence is odd while the answer is being written and grows
// by two with each answer, so that a reader that sees it change, or odd, knows it read a torn
// answer. Standard C++ alone; each system's helpers keep one in each of their slots.
template <std::size_t N>
struct SharedAnswer {
    std::atomic<std::uint64_t> sequence{0};  // twice the number of answers written
    std::atomic<std::uint64_t> words[N]{};

    void Write(const std::array<std::uint64_t, N>& values) {
        const std::uint64_t before = sequence.load(std::memory_order_relaxed);
        sequence.store(before + 1, std::memory_order_relaxed);
        std::atomic_thread_fence(std::memory_order_release);
        for (std::size_t i = 0; i < N; ++i) {
            words[i].store(values[i], std::memory_order_relaxed);
        }
        sequence.store(before + 2, std::memory_order_release);
    }

    // The answer as written, and the sequence it was written under; false while one is being
    // written over it.
    bool Read(std::array<std::uint64_t, N>& values, std::uint64_t& seen) const {
        seen = sequence.load(std::memory_order_acquire);
        for (std::size_t i = 0; i < N; ++i) {
            values[i] = words[i].load(std::memory_order_relaxed);
        }
        std::atomic_thread_fence(std::memory_order_acquire);
        return (seen & 1) == 0 && sequence.load(std::memory_order_relaxed) == seen;
    }
};

}  // namespace kelvane
