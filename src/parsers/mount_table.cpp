// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

#include "parsers/mount_table.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>

#include "rules/counts.h"

namespace kelvane {
namespace {

// Disk filesystems whose device is a block device; anything else (pseudo, virtual,
// squashfs images, network and FUSE mounts) stays out, because a statvfs on a dead
// network mount or a hung FUSE daemon would stall the refresh tick.
constexpr std::array<std::string_view, 19> kBlockDeviceTypes = {
    "btrfs", "exfat",    "ext2",    "ext3", "ext4",  "f2fs",   "fuseblk",
    "hfs",   "hfsplus",  "iso9660", "jfs",  "msdos", "nilfs2", "ntfs",
    "ntfs3", "reiserfs", "udf",     "vfat", "xfs"};
// Filesystems whose device is a pool or dataset name rather than a path.
constexpr std::array<std::string_view, 2> kPoolTypes = {"bcachefs", "zfs"};

// Filesystems that keep their free space counted in memory: statfs reads no disk.
constexpr std::array<std::string_view, 16> kCountedTypes = {
    "bcachefs", "btrfs",   "exfat", "ext2",   "ext3",  "ext4",     "f2fs", "hfs",
    "hfsplus",  "iso9660", "jfs",   "nilfs2", "ntfs3", "reiserfs", "xfs",  "zfs"};
// Filesystems that answer from a daemon or over a network, besides FUSE's own "fuse*".
constexpr std::array<std::string_view, 12> kRemoteTypes = {
    "9p",  "afs",  "ceph",  "cifs", "glusterfs", "gfs2",
    "nfs", "nfs4", "ocfs2", "smb3", "smbfs",     "virtiofs"};

bool Contains(const auto& list, std::string_view value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

bool IsLocalDisk(const MountEntry& e) {
    if (Contains(kPoolTypes, e.type)) {
        return !e.device.empty();
    }
    return Contains(kBlockDeviceTypes, e.type) && e.device.size() > 5 &&
           e.device.starts_with("/dev/");
}

bool IsOctal(char c, char highest) {
    return c >= '0' && c <= highest;
}

// The kernel writes space, tab, newline and backslash as "\ooo" so that fields stay
// whitespace-separated; anything else after a backslash is kept as it stands.
std::string Unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctal(field[i + 1], '3') &&
            IsOctal(field[i + 2], '7') && IsOctal(field[i + 3], '7')) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<std::string_view> Split(std::string_view text, std::string_view separators) {
    std::vector<std::string_view> parts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find_first_of(separators, pos), text.size());
        if (end > pos) {
            parts.push_back(text.substr(pos, end - pos));
        }
        pos = end + 1;
    }
    return parts;
}

// The mount that a lookup at each mount point reaches: the last one at that path, unless a
// later mount on a folder above it hides it (a tmpfs mounted on /srv/a after a disk on
// /srv/a/b: /srv/a/b now lies inside the tmpfs). The root is the exception: the mounts that
// an initramfs made before it (/proc, /sys, /dev, /run) were moved onto it, and are listed
// first. Paths are in sorted order, which keeps letters stable from run to run.
std::map<std::string_view, const MountEntry*> VisibleMounts(const std::vector<MountEntry>& table) {
    std::map<std::string_view, std::size_t> last;
    for (std::size_t i = 0; i < table.size(); ++i) {
        last[table[i].mountPoint] = i;
    }
    const auto hiddenAfter = [&](std::string_view path, std::size_t index) {
        for (;;) {
            const auto at = last.find(path);
            if (at != last.end() && at->second > index) {
                return true;
            }
            path = path.substr(0, path.rfind('/'));
            if (path.empty() || path == "/") {
                return false;
            }
        }
    };
    std::map<std::string_view, const MountEntry*> visible;
    for (const auto& [path, index] : last) {
        if (!hiddenAfter(path, index)) {
            visible[path] = &table[index];
        }
    }
    return visible;
}

}  // namespace

std::vector<MountEntry> ParseMountTable(std::string_view text) {
    std::vector<MountEntry> table;
    for (const std::string_view line : Split(text, "\n")) {
        const auto fields = Split(line, " \t");
        if (fields.size() < 4) {
            continue;
        }
        MountEntry entry{Unescape(fields[0]), Unescape(fields[1]), std::string(fields[2]),
                         std::string(fields[3])};
        if (entry.mountPoint.starts_with('/')) {
            table.push_back(std::move(entry));
        }
    }
    return table;
}

bool HasReadOnlyOption(std::string_view options) {
    return Contains(Split(options, ","), "ro");
}

std::vector<MountEntry> MapDriveLetters(const std::vector<MountEntry>& table,
                                        const std::function<bool(const MountEntry&)>& reachable) {
    const std::map<std::string_view, const MountEntry*> top = VisibleMounts(table);
    const auto root = top.find("/");
    const MountEntry rootEntry = root != top.end() ? *root->second : MountEntry{{}, "/", {}, {}};
    std::vector<MountEntry> letters = {rootEntry};
    // Subvolumes and bind mounts share the device string and the free space, so a device
    // gets one letter. A read-only volume gets none, nor does one this user cannot query
    // (another user's stick in a private folder): the probe stops at the first letter that
    // fails and would hide every drive after it. The same device may be reachable elsewhere.
    std::set<std::string_view> devices = {rootEntry.device};
    for (const auto& [path, entry] : top) {
        if (letters.size() == static_cast<std::size_t>(kDriveLetters)) {
            break;
        }
        if (path != "/" && IsLocalDisk(*entry) && !HasReadOnlyOption(entry->options) &&
            !devices.contains(entry->device) && reachable(*entry)) {
            devices.insert(entry->device);
            letters.push_back(*entry);
        }
    }
    return letters;
}

bool AnswersFromMemory(const std::vector<MountEntry>& table, std::string_view mountPoint) {
    const std::map<std::string_view, const MountEntry*> visible = VisibleMounts(table);
    const auto at = visible.find(mountPoint);
    if (at == visible.end() || !Contains(kCountedTypes, at->second->type)) {
        return false;
    }
    for (std::string_view path = mountPoint; path != "/";) {
        const std::size_t slash = path.rfind('/');
        path = slash == 0 || slash == std::string_view::npos ? "/" : path.substr(0, slash);
        const auto above = visible.find(path);
        if (above != visible.end() && (above->second->type.starts_with("fuse") ||
                                       Contains(kRemoteTypes, above->second->type))) {
            return false;
        }
    }
    return true;
}

std::vector<bool> StillMounted(
    const std::vector<MountEntry>& letters, const std::vector<MountEntry>& table,
    const std::function<bool(std::size_t, const MountEntry&)>& sameVolume) {
    const std::map<std::string_view, const MountEntry*> top = VisibleMounts(table);
    std::set<std::pair<std::string_view, std::string_view>> mounts;
    for (const MountEntry& entry : table) {
        mounts.emplace(entry.mountPoint, entry.device);
    }
    std::vector<bool> mounted;
    for (std::size_t i = 0; i < letters.size(); ++i) {
        const MountEntry& letter = letters[i];
        const auto at = top.find(letter.mountPoint);
        if (letter.device.empty() || at == top.end() || at->second->device == letter.device) {
            mounted.push_back(letter.device.empty() || at != top.end());
            continue;
        }
        // Another device there is the volume back under another name, unless the volume's own
        // lies hidden beneath it: a copy of its filesystem mounted over it is not the volume.
        mounted.push_back(!mounts.contains({letter.mountPoint, letter.device}) &&
                          sameVolume(i, *at->second));
    }
    return mounted;
}

}  // namespace kelvane
