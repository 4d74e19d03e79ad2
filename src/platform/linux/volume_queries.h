// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#pragma once

// Questions to volumes, asked where a volume that never answers cannot hold the gauge.
//
// A statfs on a FUSE volume whose daemon is stuck (an NTFS stick through ntfs-3g, say) waits
// until the daemon answers, and once the daemon has taken the request not even SIGKILL ends
// the wait. A thread of the gauge's own waiting there would keep the whole process alive, its
// X connection open and its window up, after it was told to close. So the questions are asked
// by small child processes over memory shared with the gauge: the gauge reads the latest
// answers without a system call, and a child that is stuck is left behind (it ends itself as
// soon as its question is answered, or when the gauge has gone); the other volumes go on in a
// new one. One stuck volume costs its own answers only.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

namespace kelvane {

// One statfs answer about a path.
struct VolumeFacts {
    int error = 0;  // 0, or the errno of the failed question
    std::uint64_t availableBlocks = 0;
    std::uint64_t totalBlocks = 0;
    std::uint64_t blockSize = 0;
    std::uint64_t flags = 0;  // statvfs's ST_RDONLY and the like
    std::uint64_t filesystemId = 0;
    // The path's own st_dev, in answers given after AskDevice; 0 in the others.
    std::uint64_t device = 0;
    bool hasDevice = false;
};

class VolumeQueries {
  public:
    // Answers one question; it runs in a child process that shares nothing with the gauge but
    // the answers, so it may only make system calls (no allocation, no locks).
    using Question = VolumeFacts (*)(const char* path, bool device);
    static VolumeFacts StatFilesystem(const char* path, bool device);

    static constexpr int kSlots = 64;

    explicit VolumeQueries(Question question = StatFilesystem);
    ~VolumeQueries();
    VolumeQueries(const VolumeQueries&) = delete;
    VolumeQueries& operator=(const VolumeQueries&) = delete;

    // A slot that asks about `path` whenever it is read; -1 when every slot is taken or the
    // path is too long to ask about. A path whose filesystem answers from what the kernel
    // holds in memory (`fromMemory`: ext4, xfs, btrfs, ... on a path that crosses no FUSE or
    // network mount) cannot hang: it is asked by the gauge itself, each time it is read,
    // which costs a system call where a child would cost a process and its wake-ups. Only the
    // others go to a child, made when the first of them is read.
    int Open(const std::string& path, bool fromMemory = false);
    // Frees a slot that is not being answered still.
    void Close(int slot);
    // The latest answer about the slot, without waiting, and the slot kept fresh: while it is
    // read, it is asked again every 10 ms. Nothing until the first answer. `number` is set
    // to which answer it is, counting from 1.
    std::optional<VolumeFacts> Latest(int slot, std::uint64_t* number = nullptr);
    // The slot's first answer, waited for at most `timeout`: for the questions at start.
    std::optional<VolumeFacts> Wait(int slot, std::chrono::milliseconds timeout);
    // Whether the answers from the next question on carry the path's device too.
    void AskDevice(int slot, bool device);
    // How many answers the slot has had or is being given now, so that an answer to a
    // question asked from now on can be told by its number.
    std::uint64_t AnswersSoFar(int slot) const;

    // How many child processes answer or are stuck: for tests and diagnostics.
    int Children() const;

    struct Board;

  private:
    // The child that answers the open slots now, started when there is none.
    int Current();
    std::optional<VolumeFacts> Read(int slot, std::chrono::milliseconds now, std::uint64_t* number);
    bool Start(int child);
    bool Collect(int child);
    // Whether a child is asking about the slot now.
    bool Busy(int slot) const;
    // Leaves a child whose question takes far too long behind and hands its other slots to a
    // new one; collects children that have ended.
    void Watch(std::chrono::milliseconds now);
    void Wake(int child);

    Question question_;
    Board* board_ = nullptr;
    int current_ = -1;
    bool unsettled_ = false;    // slots may wait to be handed on, children to be collected
    bool childNeeded_ = false;  // a slot open that only a child asks about
    std::chrono::milliseconds nextStart_{0};
    std::uint64_t lastRounds_ = 0;
    std::chrono::milliseconds lastProgress_{0};
    struct Cached {
        std::uint64_t answers = 0;
        VolumeFacts facts;
    };
    Cached cached_[kSlots];
    bool fromMemory_[kSlots] = {};
};

}  // namespace kelvane
