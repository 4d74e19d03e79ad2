// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// The settings file: read once at start; written in the background, whole, into a new file
// that then takes the old one's place, so that a slow disk never holds up the window and a
// failed write never leaves a damaged file.

#include <dirent.h>
#include <fcntl.h>
#include <pthread.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

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

// Why a save failed, beside the system's own error numbers.
constexpr int kNotAFile = -1;
constexpr int kForeignLink = -2;

// A folder no one but this user can change: its own, and writable by neither group nor others.
bool IsPrivateFolder(const std::string& folder) {
    struct stat st {};
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// A link is followed only where no one else could have put it, as ssh trusts its files: the
// link is this user's and so is its folder, which no one else can write to. Otherwise another
// user who can write to a shared folder could point the settings at any file of this user's.
bool IsOwnLink(const std::string& path, const struct stat& st) {
    return st.st_uid == ::getuid() && IsPrivateFolder(Folder(path));
}

// Where the path leads once links are followed: a regular file, or nothing yet (a link may
// lead to a file still to be made). Nothing when it leads to anything else, a FIFO, a device
// or a folder say: such a thing is neither opened, which may block or do harm, nor replaced;
// nor when a link on the way, or the settings folder as a link, could be another user's
// (`error` then says which).
std::optional<std::string> Resolve(std::string path, int* error = nullptr) {
    const auto fail = [error](int why) {
        if (error != nullptr) {
            *error = why;
        }
        return std::nullopt;
    };
    struct stat folder {};
    if (::lstat(Folder(path).c_str(), &folder) == 0 && S_ISLNK(folder.st_mode) &&
        !IsOwnLink(Folder(path), folder)) {
        return fail(kForeignLink);
    }
    for (int hop = 0; hop < 40; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            return errno == ENOENT ? std::optional(path) : fail(errno);
        }
        if (S_ISREG(st.st_mode)) {
            return path;
        }
        if (S_ISLNK(st.st_mode) && !IsOwnLink(path, st)) {
            return fail(kForeignLink);
        }
        char target[PATH_MAX];
        const ssize_t n =
            S_ISLNK(st.st_mode) ? ::readlink(path.c_str(), target, sizeof target) : -1;
        if (n <= 0 || n == static_cast<ssize_t>(sizeof target)) {
            return fail(kNotAFile);
        }
        const std::string link(target, static_cast<std::size_t>(n));
        path = link.starts_with('/') ? link : Folder(path) + "/" + link;
    }
    return fail(ELOOP);
}

std::string Describe(int error) {
    return error == kNotAFile      ? "it is no regular file"
           : error == kForeignLink ? "it is a link that another user could have put there"
                                   : std::strerror(error);
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

// A save that a SIGKILL or a power cut cut short leaves its new file behind: a name that
// mkostemp makes from the file's, this user's own. Only one gauge saves a settings file, so
// none of them is being written now.
void ClearLeftovers(const std::string& target) {
    const std::string folder = Folder(target);
    const std::string prefix = target.substr(target.rfind('/') + 1) + ".";
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        const std::string_view name(entry->d_name);
        if (name.size() != prefix.size() + 6 || !name.starts_with(prefix) ||
            name.substr(prefix.size())
                    .find_first_not_of(
                        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789") !=
                std::string_view::npos) {
            continue;
        }
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && st.st_uid == ::getuid()) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// The folder's entry for the new file is on the disk too, so that it survives a power cut.
// A file system that cannot sync a folder (EINVAL) keeps its entries some other way.
int SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    const int error = ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    ::close(fd);
    return error;
}

// Merges `values` into the file at `path` (entries of others are kept) through a new file
// in the same folder that is on the disk before it takes the old one's place. 0 when saved,
// else why not; `target` is where it went or would have gone.
int Save(const std::string& path, const std::vector<IniEntry>& values, const DiskCalls& disk,
         std::string& target) {
    int error = 0;
    const std::optional<std::string> resolved = Resolve(path, &error);
    target = resolved.value_or(path);
    std::string text;
    if (!resolved) {
        return error;
    }
    errno = 0;
    if (!MakeFolders(Folder(target))) {
        return errno != 0 ? errno : ENOTDIR;
    }
    // A file that grew far too large meanwhile is damaged: only its entries of this store's
    // are kept.
    errno = 0;
    const Loaded loaded = Load(target, text);
    if (loaded == Loaded::kUnreadable) {
        return errno != 0 ? errno : kNotAFile;
    }
    std::vector<IniEntry> entries =
        loaded == Loaded::kText ? ParseIni(text) : std::vector<IniEntry>{};
    for (const IniEntry& value : values) {
        SetIni(entries, value);
    }
    // A new file is this user's alone, whatever the umask; one that others could write to
    // no longer is.
    struct stat old {};
    const mode_t mode =
        ::stat(target.c_str(), &old) == 0 ? old.st_mode & 07777 & ~(S_IWGRP | S_IWOTH) : 0600;
    ClearLeftovers(target);
    std::string temporary = target + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const auto check = [&error](bool done) {
        if (!done && error == 0) {
            error = errno != 0 ? errno : EIO;
        }
        return done;
    };
    errno = 0;
    bool written = check(WriteAll(fd, FormatIni(entries))) && check(::fchmod(fd, mode) == 0) &&
                   check(disk.fdatasync(fd) == 0);
    written = check(::close(fd) == 0) && written;
    // The path is looked at again: what was put there meanwhile is not replaced either.
    if (written && Resolve(path) != resolved) {
        written = false;
        error = kNotAFile;
    }
    written = written && check(disk.rename(temporary.c_str(), target.c_str()) == 0);
    if (!written) {
        ::unlink(temporary.c_str());
        return error;
    }
    return SyncFolder(Folder(target));
}

class IniFileStore final : public SettingsStore {
  public:
    IniFileStore(std::string path, const DiskCalls& disk) : path_(std::move(path)), disk_(disk) {
        int error = 0;
        const std::optional<std::string> target = Resolve(path_, &error);
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
        } else if (error == kForeignLink) {
            // Neither read nor written: what the link leads to is not the settings' to change.
            refused_ = true;
            said_ = true;
            std::fprintf(stderr,
                         "kelvane: %s is not used, since %s; starting with the default settings "
                         "and saving nothing\n",
                         path_.c_str(), Describe(error).c_str());
        }
    }

    ~IniFileStore() override {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (threaded_) {
            ::pthread_join(worker_, nullptr);
        }
    }

    std::optional<std::string> Read(std::string_view section, std::string_view key) override {
        const std::string* value = FindIni(entries_, section, key);
        return value ? std::optional(*value) : std::nullopt;
    }

    void Write(std::string_view section, std::string_view key, std::string_view value) override {
        const IniEntry entry{std::string(section), std::string(key), std::string(value)};
        SetIni(entries_, entry);
        SetIni(written_, entry);
    }

    void Commit() override {
        std::unique_lock lock(mutex_);
        if (refused_) {
            saved_ = false;
            return;
        }
        next_ = written_;  // a save not begun yet is overtaken: the last values win
        if (!threaded_) {
            threaded_ = StartWriter();
        }
        if (threaded_) {
            wake_.notify_all();
        } else {
            SaveNext(lock);
        }
    }

    bool Flush() override {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return !next_ && !saving_; });
        return saved_;
    }

  private:
    // The writer is made at the first save, once the program's other threads (the window
    // system's, the accessibility bridge's) have theirs: the user's task limit must cost a
    // save its thread, not the window. Its stack is small, so that it fits a tight address
    // space too. Without it the save is made in place; each save tries again.
    bool StartWriter() {
        pthread_attr_t attributes;
        if (::pthread_attr_init(&attributes) != 0) {
            return false;
        }
        ::pthread_attr_setstacksize(&attributes, 256 * 1024);
        const bool started =
            disk_.startThread(&worker_, &attributes, &IniFileStore::Run, this) == 0;
        ::pthread_attr_destroy(&attributes);
        return started;
    }

    static void* Run(void* self) {
        auto& store = *static_cast<IniFileStore*>(self);
        std::unique_lock lock(store.mutex_);
        for (;;) {
            store.wake_.wait(lock, [&store] { return store.next_ || store.stop_; });
            if (!store.next_) {
                return nullptr;
            }
            store.SaveNext(lock);
        }
    }

    // Saves what is handed over, with `lock` let go meanwhile.
    void SaveNext(std::unique_lock<std::mutex>& lock) {
        const std::vector<IniEntry> values = std::move(*next_);
        next_.reset();
        saving_ = true;
        lock.unlock();
        std::string target;
        const int error = Save(path_, values, disk_, target);
        // A failure is said once, where the user looks when something seems amiss: settings
        // that never last are no failure to keep quiet about.
        if (error != 0 && !said_.exchange(true)) {
            std::fprintf(stderr, "kelvane: the settings could not be saved to %s: %s\n",
                         target.c_str(), Describe(error).c_str());
        }
        lock.lock();
        saving_ = false;
        saved_ = error == 0;
        done_.notify_all();
    }

    const std::string path_;
    const DiskCalls disk_;
    std::vector<IniEntry> entries_;  // what the file held at start, with what was written since
    std::vector<IniEntry> written_;  // every value written in this run: each save writes them all
    bool refused_ = false;
    std::atomic<bool> said_ = false;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable done_;
    std::optional<std::vector<IniEntry>> next_;
    bool saving_ = false;
    bool saved_ = true;
    bool stop_ = false;
    bool threaded_ = false;
    pthread_t worker_{};
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
std::string UserSettingsPath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string home = HomeFolder();
    if (home.ends_with('/')) {
        home.pop_back();  // the root folder as a home: "/.config", not "//.config"
    }
    const std::string base =
        config != nullptr && config[0] == '/' ? std::string(config) : home + "/.config";
    return base + "/Kelvane/Kelvane.conf";
}

std::unique_ptr<SettingsStore> MakeSettingsStore(const std::string& path, const DiskCalls& disk) {
    return std::make_unique<IniFileStore>(path, disk);
}

}  // namespace kelvane
