// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Drive letters on Linux: the mount table is read once, so a letter keeps naming the same
// volume for the whole run even when disks come and go. A letter whose volume has gone from
// its mount point answers no more, rather than with the figure of whatever lies beneath, until
// that volume is back there, under whichever device name. The volumes themselves are asked by
// child processes (volume_queries.h): a volume that does not answer costs its own figure only.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <map>
#include <string>

#include "parsers/mount_table.h"
#include "platform/linux/volume_queries.h"
#include "platform/platform.h"

namespace kelvane {
namespace {

// The whole table from the start of `fd`, an open /proc/self/mounts.
std::string ReadMountTable(int fd) {
    std::string text;
    if (fd < 0 || ::lseek(fd, 0, SEEK_SET) != 0) {
        return text;
    }
    char buffer[16384];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    return text;
}

// Blocks times block size in bytes, or false when it does not fit.
bool Bytes(std::uint64_t blocks, std::uint64_t blockSize, std::int64_t& out) {
    std::uint64_t bytes = 0;
    if (__builtin_mul_overflow(blocks, blockSize, &bytes) ||
        bytes > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return false;
    }
    out = static_cast<std::int64_t>(bytes);
    return true;
}

// The filesystem UUID on a block device, as udev's /dev/disk/by-uuid links name it; empty
// where there is no such link (no udev, a device without a UUID, a pool name).
std::string Uuid(const std::string& device) {
    struct stat node {};
    DIR* links = nullptr;
    // Only a device node is looked at: a path elsewhere might lie on a volume that hangs.
    if (!device.starts_with("/dev/") || device.find("/..") != std::string::npos ||
        ::stat(device.c_str(), &node) != 0 || !S_ISBLK(node.st_mode) ||
        (links = ::opendir("/dev/disk/by-uuid")) == nullptr) {
        return {};
    }
    std::string uuid;
    while (const dirent* link = ::readdir(links)) {
        struct stat target {};
        if (link->d_name[0] != '.' && ::fstatat(::dirfd(links), link->d_name, &target, 0) == 0 &&
            S_ISBLK(target.st_mode) && target.st_rdev == node.st_rdev) {
            uuid = link->d_name;
            break;
        }
    }
    ::closedir(links);
    return uuid;
}

// How long the questions at start may hold up the window: a volume that has not answered
// by then still gets its letter, and shows its figure once it answers.
constexpr std::chrono::milliseconds kFirstAnswer{400};
constexpr std::chrono::milliseconds kStartQuestions{1500};

class MountedVolumes final : public VolumeSource {
  public:
    MountedVolumes() : mounts_(::open("/proc/self/mounts", O_RDONLY | O_CLOEXEC)) {
        const std::vector<MountEntry> table = ParseMountTable(ReadMountTable(mounts_));
        GiveLetters(table);
        for (const MountEntry& volume : volumes_) {
            letters_.push_back(FirstAnswer(table, volume));
        }
        for (const auto& [path, slot] : asked_) {
            if (std::none_of(volumes_.begin(), volumes_.end(),
                             [&](const MountEntry& v) { return v.mountPoint == path; })) {
                queries_.Close(slot);
            }
        }
        asked_.clear();
        WatchMounts();
    }
    ~MountedVolumes() override {
        watch_.reset();
        if (mounts_ >= 0) {
            ::close(mounts_);
        }
    }
    MountedVolumes(const MountedVolumes&) = delete;
    MountedVolumes& operator=(const MountedVolumes&) = delete;

    // Writability comes from the mount and the filesystem flags alone: the gauge never
    // writes a file to find out. A volume that has not answered yet goes by its mount options.
    bool Probe(int letter) override {
        const MountEntry* volume = At(letter);
        return volume != nullptr && !HasReadOnlyOption(volume->options) &&
               !letters_[static_cast<std::size_t>(letter)].readOnly;
    }

    SpaceAnswer FreeSpace(int letter, VolumeSpace& out) override {
        if (At(letter) == nullptr) {
            return SpaceAnswer::kFailed;
        }
        Letter& l = letters_[static_cast<std::size_t>(letter)];
        // Read whatever follows, so that the volume is asked again meanwhile.
        std::uint64_t number = 0;
        const std::optional<VolumeFacts> facts = queries_.Latest(l.slot, &number);
        if (!facts) {
            return l.mounted ? SpaceAnswer::kNotYet : SpaceAnswer::kFailed;
        }
        if (l.recognising) {
            Recognise(l, *facts, number);
        }
        // A volume that first answers now is known by the filesystem id it answers with.
        if (l.mounted && l.expected == 0 && facts->error == 0 && !l.recognising) {
            l.id = l.expected = facts->filesystemId;
        }
        VolumeSpace space;
        // An answer at an emptied mount point comes from the filesystem beneath it, the root
        // most often: it counts as failed when the mount table says the letter's volume has
        // gone, or when it comes from another filesystem than the letter's (which also covers
        // the moment between an unmount and the table's news of it).
        if (!l.mounted || facts->error != 0 || facts->filesystemId != l.expected ||
            !Bytes(facts->availableBlocks, facts->blockSize, space.freeBytes) ||
            !Bytes(facts->totalBlocks, facts->blockSize, space.totalBytes)) {
            return SpaceAnswer::kFailed;
        }
        out = space;
        return SpaceAnswer::kSpace;
    }

    std::string MountPoint(int letter) const override {
        const MountEntry* volume = At(letter);
        return volume != nullptr ? volume->mountPoint : std::string();
    }

  private:
    // The volumes that get letters: asked about at start, where an answer that this user may
    // not query costs a volume its letter, and one that has not answered yet keeps its place.
    void GiveLetters(const std::vector<MountEntry>& table) {
        const auto until = std::chrono::steady_clock::now() + kStartQuestions;
        const auto ask = [&](const MountEntry& volume) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            const int slot =
                queries_.Open(volume.mountPoint, AnswersFromMemory(table, volume.mountPoint));
            const auto facts =
                queries_.Wait(slot, std::clamp(left, std::chrono::milliseconds(0), kFirstAnswer));
            if (slot >= 0 && facts && facts->error != 0) {
                queries_.Close(slot);
                return false;
            }
            asked_[volume.mountPoint] = slot;
            return slot >= 0;
        };
        volumes_ = MapDriveLetters(table, ask);
    }

    struct Letter;
    // A letter's volume as it first answered: which filesystem it is, and whether writable.
    Letter FirstAnswer(const std::vector<MountEntry>& table, const MountEntry& volume) {
        const auto at = asked_.find(volume.mountPoint);
        Letter letter;
        letter.slot =
            at != asked_.end()
                ? at->second
                : queries_.Open(volume.mountPoint, AnswersFromMemory(table, volume.mountPoint));
        // Answered while letters were given, or (C:, which is not asked there) now.
        const auto facts = queries_.Wait(
            letter.slot, at != asked_.end() ? std::chrono::milliseconds(0) : kFirstAnswer);
        letter.uuid = Uuid(volume.device);
        if (facts && facts->error == 0) {
            letter.id = letter.expected = facts->filesystemId;
            letter.readOnly = (facts->flags & ST_RDONLY) != 0;
        }
        return letter;
    }

    // The kernel flags the open table with POLLPRI whenever a mount comes or goes, so the
    // refresh tick pays nothing for knowing which letters lost their volume. Containers change
    // mounts many times a second, and reading thousands of them each time would cost a good
    // share of a core: the table is read at the first change, then the watch rests for a
    // quarter of a second. The kernel compares its change count at each poll, so changes made
    // meanwhile are flagged, once, as soon as the watch is back: an unmount is noticed within
    // that quarter of a second, and the table is read at most four times a second whatever
    // the churn.
    void WatchMounts() {
        if (mounts_ < 0) {
            return;
        }
        watch_ = std::make_unique<QSocketNotifier>(mounts_, QSocketNotifier::Exception);
        rest_.setSingleShot(true);
        rest_.setTimerType(Qt::PreciseTimer);
        rest_.setInterval(250);
        QObject::connect(&rest_, &QTimer::timeout, watch_.get(),
                         [this] { watch_->setEnabled(true); });
        QObject::connect(watch_.get(), &QSocketNotifier::activated, watch_.get(), [this] {
            watch_->setEnabled(false);
            rest_.start();
            ReadAgain();
        });
    }

    struct Letter {
        int slot = -1;
        std::string uuid;            // of the device at start
        std::uint64_t id = 0;        // the filesystem id at start, 0 where unknown
        std::uint64_t expected = 0;  // the id the volume answers with now
        bool readOnly = false;
        bool mounted = true;
        // Another device is at the mount point: is it the letter's volume back?
        bool recognising = false;
        std::string newUuid;
        dev_t newDevice = 0;
        std::uint64_t askedAfter = 0;
    };

    const MountEntry* At(int letter) const {
        return letter >= 0 && static_cast<std::size_t>(letter) < volumes_.size()
                   ? &volumes_[static_cast<std::size_t>(letter)]
                   : nullptr;
    }

    // Which letters still have their volume, from the mount table as it is now.
    void ReadAgain() {
        const auto table = ParseMountTable(ReadMountTable(mounts_));
        if (table.empty()) {
            return;
        }
        // Another device at a letter's mount point counts as another volume until it has
        // answered as the letter's own.
        const std::vector<bool> mounted =
            StillMounted(volumes_, table, [this](std::size_t i, const MountEntry& top) {
                BeginRecognising(letters_[i], top);
                return false;
            });
        for (std::size_t i = 0; i < letters_.size(); ++i) {
            letters_[i].mounted = mounted[i];
            letters_[i].expected = letters_[i].id;
        }
    }

    // A letter's volume back at its mount point under another device name (a stick back as
    // sdc1, a loop device with another number) is recognised by the filesystem id it had at
    // start, or, for filesystems whose id follows the device number (vfat, exfat, xfs), by its
    // UUID, with the answer shown to come from that device (an unmount between the two would
    // leave the mount point on another one). The volume is asked anew.
    void BeginRecognising(Letter& l, const MountEntry& top) {
        struct stat device {};
        l.recognising = true;
        l.newUuid = Uuid(top.device);
        l.newDevice = !l.newUuid.empty() && ::stat(top.device.c_str(), &device) == 0 &&
                              S_ISBLK(device.st_mode)
                          ? device.st_rdev
                          : 0;
        queries_.AskDevice(l.slot, true);
        // An answer being given now may have been asked before: the ones after it count.
        l.askedAfter = queries_.AnswersSoFar(l.slot);
    }

    void Recognise(Letter& l, const VolumeFacts& facts, std::uint64_t number) {
        if (number <= l.askedAfter || !facts.hasDevice) {
            return;
        }
        l.recognising = false;
        queries_.AskDevice(l.slot, false);
        const bool same = facts.error == 0 && ((l.id != 0 && facts.filesystemId == l.id) ||
                                               (!l.uuid.empty() && l.newUuid == l.uuid &&
                                                l.newDevice != 0 && facts.device == l.newDevice));
        if (same) {
            l.mounted = true;
            l.expected = facts.filesystemId;
        }
    }

    const int mounts_;
    VolumeQueries queries_;
    std::vector<MountEntry> volumes_;  // by letter, from C:
    std::vector<Letter> letters_;
    std::map<std::string, int> asked_;  // at start: the slot of each volume asked about
    QTimer rest_;
    std::unique_ptr<QSocketNotifier> watch_;
};

}  // namespace

std::unique_ptr<VolumeSource> MakeSystemVolumes() {
    return std::make_unique<MountedVolumes>();
}

}  // namespace kelvane
