// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The settings file: read once at start; written in the background, whole, into a new file
// that then takes the old one's place, so that a slow disk never holds up the window and a
// failed write never leaves a damaged file.

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

#include "parsers/ini_text.h"
#include "platform/platform.h"

namespace kelvane {
namespace {

// A settings file holds a few hundred bytes; one far larger is not read, let alone rewritten.
constexpr off_t kLargestSettingsFile = 64 * 1024;

std::string Folder(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// Where the path leads once links are followed: a regular file, or nothing yet (a link may
// lead to a file still to be made). Nothing when it leads to anything else, a FIFO, a device
// or a folder say: such a thing is neither opened, which may block or do harm, nor replaced.
std::optional<std::string> Resolve(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            return errno == ENOENT ? std::optional(path) : std::nullopt;
        }
        if (S_ISREG(st.st_mode)) {
            return path;
        }
        char target[PATH_MAX];
        const ssize_t n =
            S_ISLNK(st.st_mode) ? ::readlink(path.c_str(), target, sizeof target) : -1;
        if (n <= 0 || n == static_cast<ssize_t>(sizeof target)) {
            return std::nullopt;
        }
        const std::string link(target, static_cast<std::size_t>(n));
        path = link.starts_with('/') ? link : Folder(path) + "/" + link;
    }
    return std::nullopt;
}

enum class Loaded { kNothing, kText, kTooLarge, kUnreadable };

// The text of the regular file at `path`, read without following a link or blocking.
Loaded Load(const std::string& path, std::string& text) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT ? Loaded::kNothing : Loaded::kUnreadable;
    }
    struct stat st {};
    Loaded result = Loaded::kUnreadable;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        result = st.st_size > kLargestSettingsFile ? Loaded::kTooLarge : Loaded::kText;
        char buffer[4096];
        for (ssize_t n = 0; result == Loaded::kText;) {
            n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                result = n == 0 ? Loaded::kText : Loaded::kUnreadable;
                break;
            }
            text.append(buffer, static_cast<std::size_t>(n));
            result = text.size() > kLargestSettingsFile ? Loaded::kTooLarge : Loaded::kText;
        }
    }
    ::close(fd);
    return result;
}

bool MakeFolders(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) {
        return S_ISDIR(st.st_mode);
    }
    if (folder == "/" || folder == "." || !MakeFolders(Folder(folder))) {
        return false;
    }
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Merges `values` into the file at `path` (entries of others are kept) through a new file
// in the same folder that is on the disk before it takes the old one's place.
bool Save(const std::string& path, const std::vector<IniEntry>& values, mode_t newFileMode) {
    const std::optional<std::string> target = Resolve(path);
    std::string text;
    if (!target || !MakeFolders(Folder(*target))) {
        return false;
    }
    // A file that grew far too large meanwhile is damaged: only its entries of this store's
    // are kept.
    const Loaded loaded = Load(*target, text);
    if (loaded == Loaded::kUnreadable) {
        return false;
    }
    std::vector<IniEntry> entries =
        loaded == Loaded::kText ? ParseIni(text) : std::vector<IniEntry>{};
    for (const IniEntry& value : values) {
        SetIni(entries, value);
    }
    struct stat old {};
    const mode_t mode = ::stat(target->c_str(), &old) == 0 ? old.st_mode & 07777 : newFileMode;
    std::string temporary = *target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    bool written =
        WriteAll(fd, FormatIni(entries)) && ::fchmod(fd, mode) == 0 && ::fdatasync(fd) == 0;
    written = ::close(fd) == 0 && written;
    // The path is looked at again: what was put there meanwhile is not replaced either.
    written =
        written && Resolve(path) == target && ::rename(temporary.c_str(), target->c_str()) == 0;
    if (!written) {
        ::unlink(temporary.c_str());
    }
    return written;
}

class IniFileStore final : public SettingsStore {
  public:
    explicit IniFileStore(const QByteArray& path) : path_(path.toStdString()) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        newFileMode_ = 0666 & ~mask;
        const std::optional<std::string> target = Resolve(path_);
        std::string text;
        const Loaded loaded = target ? Load(*target, text) : Loaded::kUnreadable;
        if (loaded == Loaded::kText) {
            entries_ = ParseIni(text);
        } else if (loaded == Loaded::kTooLarge) {
            const std::string aside = *target + ".damaged";
            const bool kept = ::rename(target->c_str(), aside.c_str()) == 0;
            std::fprintf(stderr,
                         "kelvane: %s is far larger than a settings file and is not read; %s%s; "
                         "starting with the default settings\n",
                         target->c_str(), kept ? "it is kept as " : "it could not be moved aside",
                         kept ? aside.c_str() : "");
        }
    }

    ~IniFileStore() override {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (worker_.joinable()) {
            worker_.join();
        }
    }

    std::optional<QString> Read(const QString& section, const QString& key) override {
        const std::string* value = FindIni(entries_, section.toStdString(), key.toStdString());
        return value ? std::optional(QString::fromStdString(*value)) : std::nullopt;
    }

    void Write(const QString& section, const QString& key, const QString& value) override {
        const IniEntry entry{section.toStdString(), key.toStdString(), value.toStdString()};
        SetIni(entries_, entry);
        SetIni(written_, entry);
    }

    void Commit() override {
        {
            const std::lock_guard lock(mutex_);
            next_ = written_;  // a save not begun yet is overtaken: the last values win
        }
        if (!worker_.joinable()) {
            worker_ = std::thread([this] { Run(); });
        }
        wake_.notify_all();
    }

    bool Flush() override {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return !next_ && !saving_; });
        return saved_;
    }

  private:
    void Run() {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return next_ || stop_; });
            if (!next_) {
                return;
            }
            const std::vector<IniEntry> values = std::move(*next_);
            next_.reset();
            saving_ = true;
            lock.unlock();
            const bool saved = Save(path_, values, newFileMode_);
            lock.lock();
            saving_ = false;
            saved_ = saved;
            done_.notify_all();
        }
    }

    const std::string path_;
    mode_t newFileMode_ = 0644;
    std::vector<IniEntry> entries_;  // what the file held at start, with what was written since
    std::vector<IniEntry> written_;  // every value written in this run: each save writes them all

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::optional<std::vector<IniEntry>> next_;
    bool saving_ = false;
    bool saved_ = true;
    bool stop_ = false;
    std::thread worker_;
};

// $HOME, or the user's home folder from the password database when that is unset or relative.
std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return home;
    }
    const struct passwd* entry = ::getpwuid(::getuid());
    return entry != nullptr && entry->pw_dir != nullptr ? entry->pw_dir : "/";
}

}  // namespace

// A relative XDG_CONFIG_HOME is invalid and ignored, as the base-directory rules say: it would
// make the settings depend on the folder the gauge was started from.
QByteArray UserSettingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    const std::string base =
        config != nullptr && config[0] == '/' ? std::string(config) : HomeFolder() + "/.config";
    return QByteArray::fromStdString(base + "/Kelvane/Kelvane.conf");
}

std::unique_ptr<SettingsStore> MakeSettingsStore(const QByteArray& path) {
    return std::make_unique<IniFileStore>(path);
}

}  // namespace kelvane
