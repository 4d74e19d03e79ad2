// Drive letters on Linux: the mount table is read once, so a letter keeps naming the same
// volume for the whole run even when disks come and go.

#include <fcntl.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <limits>
#include <string>

#include "platform/mount_table.h"
#include "platform/platform.h"

namespace kelvane {
namespace {

std::string ReadMountTable() {
    std::string text;
    const int fd = ::open("/proc/self/mounts", O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
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
    ::close(fd);
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

class MountedVolumes final : public VolumeSource {
  public:
    MountedVolumes() : letters_(MapDriveLetters(ParseMountTable(ReadMountTable()))) {}

    // Writability comes from the mount and the filesystem flags alone: the gauge never
    // writes a file to find out.
    bool Probe(int letter) override {
        const MountEntry* volume = At(letter);
        struct statvfs st {};
        return volume != nullptr && !HasReadOnlyOption(volume->options) &&
               StatVolume(volume->mountPoint, st) && (st.f_flag & ST_RDONLY) == 0;
    }

    bool FreeSpace(int letter, VolumeSpace& out) override {
        const MountEntry* volume = At(letter);
        struct statvfs st {};
        VolumeSpace space;
        if (volume == nullptr || !StatVolume(volume->mountPoint, st) ||
            !Bytes(st.f_bavail, st.f_frsize, space.freeBytes) ||
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

    const std::vector<MountEntry> letters_;
};

}  // namespace

std::unique_ptr<VolumeSource> MakeSystemVolumes() {
    return std::make_unique<MountedVolumes>();
}

}  // namespace kelvane
