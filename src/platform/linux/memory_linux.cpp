// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Memory status from /proc/meminfo, kept open and re-read from the start on every call.

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "parsers/meminfo.h"
#include "platform/platform.h"

namespace kelvane {
namespace {

class ProcMeminfo final : public MemoryStatusSource {
  public:
    ProcMeminfo() { Open(); }
    ~ProcMeminfo() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    ProcMeminfo(const ProcMeminfo&) = delete;
    ProcMeminfo& operator=(const ProcMeminfo&) = delete;

    bool Read(MemoryStatus& out) override {
        if (fd_ < 0 && !Open()) {
            return false;
        }
        ssize_t n = 0;
        do {
            n = ::pread(fd_, buffer_, sizeof buffer_, 0);
        } while (n < 0 && errno == EINTR);
        if (n <= 0) {
            ::close(fd_);  // opened afresh on the next call
            fd_ = -1;
            return false;
        }
        const auto status = ParseMeminfo(std::string_view(buffer_, static_cast<std::size_t>(n)));
        if (!status) {
            return false;
        }
        out = *status;
        return true;
    }

  private:
    bool Open() {
        fd_ = ::open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
        return fd_ >= 0;
    }

    int fd_ = -1;
    char buffer_[8192];
};

}  // namespace

std::unique_ptr<MemoryStatusSource> MakeSystemMemoryStatus() {
    return std::make_unique<ProcMeminfo>();
}

}  // namespace kelvane
