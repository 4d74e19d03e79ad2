// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "platform/linux/volume_queries.h"

#include <linux/futex.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <ctime>
#include <new>

#include "platform/shared_answer.h"

namespace kelvane {
namespace {

using std::chrono::milliseconds;

constexpr int kChildren = 16;
constexpr std::size_t kPathCapacity = 4096;
// A slot read within this is asked again every round; one no longer read rests.
constexpr milliseconds kKeptFresh{250};
constexpr milliseconds kRound{10};
// A question that takes this long is taken for stuck: the child is left behind.
constexpr milliseconds kStuck{300};
// After a child could not be started, the next try waits this long.
constexpr milliseconds kStartPause{1000};

enum : std::uint32_t { kFree, kOpen };

milliseconds Now() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return milliseconds(static_cast<std::int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1'000'000);
}

void FutexWait(std::atomic<std::uint32_t>& word, std::uint32_t expected, const timespec* timeout) {
    ::syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word), FUTEX_WAIT, expected, timeout,
              nullptr, 0);
}

void FutexWake(std::atomic<std::uint32_t>& word) {
    ::syscall(SYS_futex, reinterpret_cast<std::uint32_t*>(&word), FUTEX_WAKE, INT_MAX, nullptr,
              nullptr, 0);
}

}  // namespace

// What the gauge and its children share: one page of answers per slot and a word per child.
// Everything in it is lock-free atomics, the same in every process that maps it.
struct VolumeQueries::Board {
    struct Slot {
        std::atomic<std::uint32_t> state{kFree};
        std::atomic<std::int32_t> owner{-1};  // the child that asks about it
        std::atomic<std::int64_t> readAt{0};  // when the gauge last read it, in ms
        std::atomic<std::uint32_t> wantDevice{0};
        SharedAnswer<8> answer;
        char path[kPathCapacity]{};
    };
    struct Child {
        std::atomic<std::int32_t> pid{0};  // 0: none
        std::atomic<std::uint32_t> wake{0};
        std::atomic<std::uint32_t> sleeping{0};
        std::atomic<std::uint32_t> leftBehind{0};
        std::atomic<std::int32_t> busy{-1};  // the slot being asked about
        std::atomic<std::int64_t> busySince{0};
        std::atomic<std::uint64_t> rounds{0};
    };
    Slot slots[kSlots];
    Child children[kChildren];
    std::atomic<std::uint32_t> answered{0};
    std::atomic<std::uint32_t> waiting{0};
};

namespace {

using Board = VolumeQueries::Board;

void Store(Board::Slot& slot, const VolumeFacts& f) {
    slot.answer.Write({static_cast<std::uint64_t>(f.error), f.availableBlocks, f.totalBlocks,
                       f.blockSize, f.flags, f.filesystemId, f.device, f.hasDevice ? 1u : 0u});
}

// The answer as written, or nothing while one is being written over it.
bool Load(const Board::Slot& slot, std::uint64_t& sequence, VolumeFacts& f) {
    std::array<std::uint64_t, 8> v{};
    if (!slot.answer.Read(v, sequence)) {
        return false;
    }
    f = {static_cast<int>(v[0]), v[1], v[2], v[3], v[4], v[5], v[6], v[7] != 0};
    return true;
}

bool Wanted(const Board::Slot& slot, int me, milliseconds now) {
    return slot.state.load() == kOpen && slot.owner.load() == me &&
           (slot.answer.sequence.load() == 0 ||
            now.count() - slot.readAt.load() <= kKeptFresh.count());
}

bool AnyWanted(const Board& board, int me, milliseconds now) {
    for (const Board::Slot& slot : board.slots) {
        if (Wanted(slot, me, now)) {
            return true;
        }
    }
    return false;
}

// The child: it shares the gauge's memory as it was at the fork, and the gauge had other
// threads then, so it makes system calls only. It keeps no file of the gauge's open (no X
// connection, no lock, no pipe a launcher waits on) and dies with the gauge.
[[noreturn]] void Answer(Board& board, int me, VolumeQueries::Question question, pid_t gauge) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != gauge) {
        ::_exit(0);
    }
    if (::close_range(0, ~0U, 0) != 0) {
        for (int fd = 0; fd < 65536; ++fd) {
            ::close(fd);
        }
    }
    struct sigaction plain {};
    plain.sa_handler = SIG_DFL;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGPIPE}) {
        ::sigaction(signal, &plain, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);

    Board::Child& self = board.children[me];
    for (;;) {
        const milliseconds round = Now();
        bool asked = false;
        for (int s = 0; s < VolumeQueries::kSlots; ++s) {
            Board::Slot& slot = board.slots[s];
            if (!Wanted(slot, me, round)) {
                continue;
            }
            self.busySince.store(Now().count());
            self.busy.store(s);
            // Looked at again once busy: the gauge hands a slot on or frees it only while no
            // child is busy with it.
            if (self.leftBehind.load() != 0) {
                ::_exit(0);
            }
            if (slot.state.load() != kOpen || slot.owner.load() != me) {
                self.busy.store(-1);
                continue;
            }
            const VolumeFacts facts = question(slot.path, slot.wantDevice.load() != 0);
            Store(slot, facts);
            self.busy.store(-1);
            asked = true;
            board.answered.fetch_add(1);
            if (board.waiting.load() != 0) {
                FutexWake(board.answered);
            }
        }
        self.rounds.fetch_add(1);
        if (self.leftBehind.load() != 0) {
            ::_exit(0);
        }
        if (asked) {
            const std::int64_t next = (round + kRound).count();
            const timespec until{static_cast<time_t>(next / 1000),
                                 static_cast<long>(next % 1000) * 1'000'000};
            ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
            continue;
        }
        // Nothing to ask: asleep until the gauge reads a slot again.
        const std::uint32_t wake = self.wake.load();
        self.sleeping.store(1);
        if (!AnyWanted(board, me, Now()) && self.leftBehind.load() == 0) {
            FutexWait(self.wake, wake, nullptr);
        }
        self.sleeping.store(0);
    }
}

}  // namespace

VolumeFacts VolumeQueries::StatFilesystem(const char* path, bool device) {
    VolumeFacts facts;
    struct statfs st {};
    int rc = 0;
    do {
        rc = ::statfs(path, &st);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        facts.error = errno != 0 ? errno : EIO;
        return facts;
    }
    facts.availableBlocks = st.f_bavail;
    facts.totalBlocks = st.f_blocks;
    facts.blockSize = static_cast<std::uint64_t>(st.f_frsize != 0 ? st.f_frsize : st.f_bsize);
    facts.flags = static_cast<std::uint64_t>(st.f_flags);
    std::uint64_t id = 0;
    static_assert(sizeof st.f_fsid <= sizeof id);
    std::memcpy(&id, &st.f_fsid, sizeof st.f_fsid);
    facts.filesystemId = id;
    struct stat node {};
    if (device && ::stat(path, &node) == 0) {
        facts.device = node.st_dev;
        facts.hasDevice = true;
    }
    return facts;
}

VolumeQueries::VolumeQueries(Question question) : question_(question) {
    void* shared =
        ::mmap(nullptr, sizeof(Board), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared != MAP_FAILED) {
        board_ = new (shared) Board;
    }
}

// Children that are still asking die with the gauge (SIGKILL when it ends, as soon as their
// question lets them); the others are told to end and are not waited for.
VolumeQueries::~VolumeQueries() {
    if (board_ == nullptr) {
        return;
    }
    for (int i = 0; i < kChildren; ++i) {
        Board::Child& child = board_->children[i];
        const pid_t pid = child.pid.load();
        if (pid > 0) {
            child.leftBehind.store(1);
            Wake(i);
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, WNOHANG);
        }
    }
    // Mapped still in any child that is stuck: it goes with the last of them.
    ::munmap(board_, sizeof(Board));
}

int VolumeQueries::Open(const std::string& path, bool fromMemory) {
    if (board_ == nullptr || path.size() >= kPathCapacity) {
        return -1;
    }
    for (int s = 0; s < kSlots; ++s) {
        Board::Slot& slot = board_->slots[s];
        if (slot.state.load() != kFree || Busy(s)) {
            continue;
        }
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.wantDevice.store(0);
        slot.answer.sequence.store(0);
        slot.readAt.store(Now().count());
        slot.owner.store(fromMemory ? -1 : current_);
        slot.state.store(kOpen);
        cached_[s] = {};
        fromMemory_[s] = fromMemory;
        if (!fromMemory) {
            childNeeded_ = unsettled_ = true;
            Wake(current_);
        }
        return s;
    }
    return -1;
}

bool VolumeQueries::Busy(int slot) const {
    for (const Board::Child& child : board_->children) {
        if (child.pid.load() > 0 && child.busy.load() == slot) {
            return true;
        }
    }
    return false;
}

void VolumeQueries::Close(int slot) {
    if (board_ != nullptr && slot >= 0 && slot < kSlots) {
        board_->slots[slot].state.store(kFree);
    }
}

void VolumeQueries::AskDevice(int slot, bool device) {
    if (board_ != nullptr && slot >= 0 && slot < kSlots) {
        board_->slots[slot].wantDevice.store(device ? 1 : 0);
    }
}

std::uint64_t VolumeQueries::AnswersSoFar(int slot) const {
    return board_ != nullptr && slot >= 0 && slot < kSlots
               ? (board_->slots[slot].answer.sequence.load() + 1) / 2
               : 0;
}

std::optional<VolumeFacts> VolumeQueries::Latest(int slot, std::uint64_t* number) {
    if (board_ == nullptr || slot < 0 || slot >= kSlots) {
        return std::nullopt;
    }
    const milliseconds now = Now();
    Watch(now);
    return Read(slot, now, number);
}

std::optional<VolumeFacts> VolumeQueries::Read(int slot, milliseconds now, std::uint64_t* number) {
    Board::Slot& s = board_->slots[slot];
    const std::int64_t readAt = s.readAt.load(std::memory_order_relaxed);
    if (readAt != now.count()) {
        s.readAt.store(now.count());
        if (now.count() - readAt > kKeptFresh.count()) {
            Wake(s.owner.load());
        }
    }
    if (fromMemory_[slot]) {
        Store(s, question_(s.path, s.wantDevice.load() != 0));
    }
    std::uint64_t sequence = 0;
    VolumeFacts facts;
    Cached& cached = cached_[slot];
    if (Load(s, sequence, facts) && sequence / 2 > cached.answers) {
        cached = {sequence / 2, facts};
    }
    if (number != nullptr) {
        *number = cached.answers;
    }
    return cached.answers > 0 ? std::optional(cached.facts) : std::nullopt;
}

std::optional<VolumeFacts> VolumeQueries::Wait(int slot, milliseconds timeout) {
    if (board_ == nullptr || slot < 0 || slot >= kSlots) {
        return std::nullopt;
    }
    const milliseconds until = Now() + timeout;
    for (;;) {
        const std::uint32_t answered = board_->answered.load();
        const milliseconds now = Now();
        Watch(now);
        if (const auto facts = Read(slot, now, nullptr)) {
            return facts;
        }
        const milliseconds left = until - Now();
        if (left.count() <= 0) {
            return std::nullopt;
        }
        const timespec wait{static_cast<time_t>(left.count() / 1000),
                            static_cast<long>(left.count() % 1000) * 1'000'000};
        board_->waiting.store(1);
        FutexWait(board_->answered, answered, &wait);
        board_->waiting.store(0);
    }
}

int VolumeQueries::Children() const {
    int running = 0;
    for (int i = 0; board_ != nullptr && i < kChildren; ++i) {
        running += board_->children[i].pid.load() > 0 ? 1 : 0;
    }
    return running;
}

int VolumeQueries::Current() {
    if (current_ >= 0 || board_ == nullptr || Now() < nextStart_) {
        return current_;
    }
    for (int i = 0; i < kChildren; ++i) {
        if (board_->children[i].pid.load() == 0) {
            current_ = Start(i) ? i : -1;
            break;
        }
    }
    // No child could be had (the user's task limit, say): the next try waits a while.
    if (current_ < 0) {
        nextStart_ = Now() + kStartPause;
    }
    unsettled_ = true;
    return current_;
}

bool VolumeQueries::Start(int i) {
    Board::Child& child = board_->children[i];
    child.wake.store(0);
    child.sleeping.store(0);
    child.leftBehind.store(0);
    child.busy.store(-1);
    child.rounds.store(0);
    const pid_t gauge = ::getpid();
    const pid_t pid = ::fork();
    if (pid == 0) {
        Answer(*board_, i, question_, gauge);
    }
    if (pid < 0) {
        return false;
    }
    child.pid.store(pid);
    lastRounds_ = 0;
    lastProgress_ = Now();
    return true;
}

void VolumeQueries::Wake(int i) {
    if (board_ == nullptr || i < 0 || i >= kChildren) {
        return;
    }
    Board::Child& child = board_->children[i];
    // Cleared here, so that a child that has died asleep shows no sign of life either.
    if (child.sleeping.exchange(0) != 0) {
        child.wake.fetch_add(1);
        FutexWake(child.wake);
    }
}

// True when the child has ended and is collected.
bool VolumeQueries::Collect(int i) {
    Board::Child& child = board_->children[i];
    const pid_t pid = child.pid.load();
    const pid_t ended = ::waitpid(pid, nullptr, WNOHANG);
    if (ended == pid || (ended < 0 && errno == ECHILD)) {
        child.pid.store(0);
        return true;
    }
    return false;
}

void VolumeQueries::Watch(milliseconds now) {
    if (current_ >= 0) {
        Board::Child& child = board_->children[current_];
        const int busy = child.busy.load();
        const std::uint64_t rounds = child.rounds.load();
        if (rounds != lastRounds_ || child.sleeping.load() != 0) {
            lastRounds_ = rounds;
            lastProgress_ = now;
        }
        const bool stuck = busy >= 0 && now.count() - child.busySince.load() > kStuck.count();
        // A child that neither asks nor rests has died (killed from outside, say) or cannot run
        // (stopped by a debugger or a freezer, which waitpid does not report): it is ended, so
        // that one stopped for good does not linger, and replaced.
        const bool silent = busy < 0 && now - lastProgress_ > kStuck;
        if (silent) {
            ::kill(child.pid.load(), SIGKILL);
        }
        if (stuck || silent) {
            child.leftBehind.store(1);
            Wake(current_);
            current_ = -1;
            unsettled_ = true;
        }
    }
    if (!childNeeded_ || Current() < 0 || !unsettled_) {
        return;
    }
    // Children left behind are collected once they have ended, and every slot but one that
    // such a child is asking about still goes on in the current child.
    bool settled = true;
    for (int i = 0; i < kChildren; ++i) {
        if (i != current_ && board_->children[i].pid.load() > 0 && !Collect(i)) {
            settled = false;
        }
    }
    for (int s = 0; s < kSlots; ++s) {
        Board::Slot& slot = board_->slots[s];
        const int owner = slot.owner.load();
        if (slot.state.load() != kOpen || owner == current_ || fromMemory_[s]) {
            continue;
        }
        if (owner >= 0 && board_->children[owner].pid.load() > 0 &&
            board_->children[owner].busy.load() == s) {
            settled = false;
            continue;
        }
        slot.owner.store(current_);
        Wake(current_);
    }
    unsettled_ = !settled;
}

}  // namespace kelvane
