// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Drive letters on Linux: the mount table is read once, so a letter keeps naming the same
// volume for the whole run even when disks come and go. A letter whose volume has gone from
// its mount point answers no more, rather than with the figure of whatever lies beneath, until
// that volume is back there, under whichever device name.

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <string>

#include "parsers/mount_table.h"
#include "platform/platform.h"

namespace kelvane {
namespace {

using FilesystemId = decltype(statvfs::f_fsid);

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

bool StatVolume(const std::string& path, struct statvfs& st) {
    int rc = 0;
    do {
        rc = ::statvfs(path.c_str(), &st);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
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
    if (::stat(device.c_str(), &node) != 0 || !S_ISBLK(node.st_mode) ||
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

// The filesystem id each letter's mount point answers with at start, 0 where unknown.
std::vector<FilesystemId> FilesystemIds(const std::vector<MountEntry>& letters) {
    std::vector<FilesystemId> ids;
    for (const MountEntry& volume : letters) {
        struct statvfs st {};
        ids.push_back(StatVolume(volume.mountPoint, st) ? st.f_fsid : 0);
    }
    return ids;
}

std::vector<std::string> Uuids(const std::vector<MountEntry>& letters) {
    std::vector<std::string> uuids;
    for (const MountEntry& volume : letters) {
        uuids.push_back(Uuid(volume.device));
    }
    return uuids;
}

class MountedVolumes final : public VolumeSource {
  public:
    MountedVolumes()
        : mounts_(::open("/proc/self/mounts", O_RDONLY | O_CLOEXEC)),
          letters_(MapDriveLetters(ParseMountTable(ReadMountTable(mounts_)),
                                   [](const MountEntry& volume) {
                                       struct statvfs st {};
                                       return StatVolume(volume.mountPoint, st);
                                   })),
          ids_(FilesystemIds(letters_)),
          uuids_(Uuids(letters_)),
          expected_(ids_),
          mounted_(letters_.size(), true) {
        if (mounts_ < 0) {
            return;
        }
        // The kernel flags the open table with POLLPRI whenever a mount comes or goes, so the
        // refresh tick pays nothing for knowing which letters lost their volume. Containers
        // change mounts many times a second, and reading thousands of them each time would cost
        // a good share of a core: the table is read at the first change, then the watch rests
        // for a quarter of a second. The kernel compares its change count at each poll, so
        // changes made meanwhile are flagged, once, as soon as the watch is back: an unmount is
        // noticed within that quarter of a second, and the table is read at most four times a
        // second whatever the churn.
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
    ~MountedVolumes() override {
        watch_.reset();
        if (mounts_ >= 0) {
            ::close(mounts_);
        }
    }
    MountedVolumes(const MountedVolumes&) = delete;
    MountedVolumes& operator=(const MountedVolumes&) = delete;

    // Writability comes from the mount and the filesystem flags alone: the gauge never
    // writes a file to find out.
    bool Probe(int letter) override {
        struct statvfs st {};
        return Query(letter, st) && !HasReadOnlyOption(At(letter)->options) &&
               (st.f_flag & ST_RDONLY) == 0;
    }

    bool FreeSpace(int letter, VolumeSpace& out) override {
        struct statvfs st {};
        VolumeSpace space;
        if (!Query(letter, st) || !Bytes(st.f_bavail, st.f_frsize, space.freeBytes) ||
            !Bytes(st.f_blocks, st.f_frsize, space.totalBytes)) {
            return false;
        }
        out = space;
        return true;
    }

    QString MountPoint(int letter) const override {
        const MountEntry* volume = At(letter);
        return volume != nullptr ? QString::fromStdString(volume->mountPoint) : QString();
    }

  private:
    const MountEntry* At(int letter) const {
        return letter >= 0 && static_cast<std::size_t>(letter) < letters_.size()
                   ? &letters_[static_cast<std::size_t>(letter)]
                   : nullptr;
    }

    // Which letters still have their volume, from the mount table as it is now.
    void ReadAgain() {
        const auto table = ParseMountTable(ReadMountTable(mounts_));
        if (!table.empty()) {
            expected_ = ids_;
            mounted_ = StillMounted(letters_, table, [this](std::size_t i, const MountEntry& top) {
                return Recognise(i, top);
            });
        }
    }

    // A letter's volume back at its mount point under another device name (a stick back as
    // sdc1, a loop device with another number): recognised by the filesystem id it had at
    // start, or, for filesystems whose id follows the device number (vfat, exfat, xfs), by its
    // UUID, with the statvfs answer shown to come from that device (an unmount between the two
    // calls would leave the mount point on another one). From then on the tick expects the id
    // the volume has now.
    bool Recognise(std::size_t i, const MountEntry& top) {
        struct statvfs st {};
        struct stat at {};
        struct stat device {};
        if (!StatVolume(letters_[i].mountPoint, st)) {
            return false;
        }
        const bool same = (ids_[i] != 0 && st.f_fsid == ids_[i]) ||
                          (!uuids_[i].empty() && Uuid(top.device) == uuids_[i] &&
                           ::stat(letters_[i].mountPoint.c_str(), &at) == 0 &&
                           ::stat(top.device.c_str(), &device) == 0 && at.st_dev == device.st_rdev);
        if (same) {
            expected_[i] = st.f_fsid;
        }
        return same;
    }

    // A query at an emptied mount point is answered by the filesystem beneath it, the root
    // most often: it counts as failed when the mount table says the letter's volume has gone,
    // or when the answer comes from another filesystem than the letter's (which also covers
    // the moment between an unmount and the table's news of it).
    bool Query(int letter, struct statvfs& st) const {
        const MountEntry* volume = At(letter);
        if (volume == nullptr) {
            return false;
        }
        const auto i = static_cast<std::size_t>(letter);
        return mounted_[i] && StatVolume(volume->mountPoint, st) &&
               (expected_[i] == 0 || st.f_fsid == expected_[i]);
    }

    const int mounts_;
    const std::vector<MountEntry> letters_;
    const std::vector<FilesystemId> ids_;
    const std::vector<std::string> uuids_;
    std::vector<FilesystemId> expected_;
    std::vector<bool> mounted_;
    QTimer rest_;
    std::unique_ptr<QSocketNotifier> watch_;
};

}  // namespace

std::unique_ptr<VolumeSource> MakeSystemVolumes() {
    return std::make_unique<MountedVolumes>();
}

}  // namespace kelvane
