// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Which mounted volumes become drive letters, and whether they are still mounted, from mount
// tables as the kernel writes them. (The fuzz target checks the mapping's other properties:
// one letter per device, in mount point order, each the last mount at its path.)

#include <doctest/doctest.h>

#include <string>

#include "parsers/mount_table.h"

using namespace kelvane;

namespace {

const std::string kRoot = "/dev/sda2 / ext4 rw 0 0\n";
const std::string kD = "/dev/sdb1 /mnt/d ext4 rw 0 0\n";
const std::string kE = "/dev/sdc1 /mnt/e vfat rw 0 0\n";
const std::string kFuse = "/dev/sdb1 /media/stick fuseblk rw 0 0\n";

}  // namespace

TEST_CASE("the volumes that become drive letters") {
    struct Row {
        const char* name;
        std::string table;
        std::string letters;      // "device mountPoint" per letter from C:
        std::string unreachable;  // a mount point this user cannot query
    };
    const Row rows[] = {
        {"pseudo, network, image and FUSE filesystems get no letter",
         "proc /proc proc rw 0 0\ntmpfs /run tmpfs rw 0 0\noverlay /o overlay rw 0 0\n" + kRoot +
             "srv:/export /mnt/nfs nfs4 rw 0 0\n//srv/share /mnt/smb cifs rw 0 0\n"
             "me@host:/ /mnt/ssh fuse.sshfs rw 0 0\nnone /mnt/n vfat rw 0 0\n"
             "/dev/loop3 /snap/core squashfs ro 0 0\n",
         "/dev/sda2 /", ""},
        {"read-only volumes and volumes hidden by a later mount get no letter",
         kRoot + "/dev/sr0 /media/cd iso9660 ro 0 0\n/dev/sdb1 /mnt ext4 rw 0 0\n" +
             "tmpfs /mnt tmpfs rw 0 0\n/dev/sdc1 /media/usb vfat rw,errors=remount-ro 0 0\n",
         "/dev/sda2 / /dev/sdc1 /media/usb", ""},
        {"a volume under a later mount on a folder above it gets no letter, one mounted after "
         "does",
         kRoot + "/dev/sdb1 /srv/a/b ext4 rw 0 0\ntmpfs /srv/a tmpfs rw 0 0\n" +
             "/dev/sdc1 /srv/a/c ext4 rw 0 0\n",
         "/dev/sda2 / /dev/sdc1 /srv/a/c", ""},
        {"btrfs subvolumes and zfs datasets count once",
         "rpool/ROOT / zfs rw 0 0\n/dev/nvme0n1p2 /home btrfs rw,subvol=/@home 0 0\n"
         "/dev/nvme0n1p2 /.snapshots btrfs rw,subvol=/@snapshots 0 0\n"
         "rpool/home /export zfs rw 0 0\n",
         "rpool/ROOT / /dev/nvme0n1p2 /.snapshots rpool/home /export", ""},
        {"the kernel's escapes are read, other backslashes kept",
         kRoot + "/dev/disk/by-label/My\\040Disk /m/a\\040b\\011c\\134d\\09 exfat rw 0 0\n",
         "/dev/sda2 / /dev/disk/by-label/My Disk /m/a b\tc\\d\\09", ""},
        {"root mounted twice: the last one is C:",
         "/dev/sda1 / ext4 rw 0 0\n/dev/sdc1 / ext4 rw 0 0\n/dev/sda1 /old ext4 rw 0 0\n",
         "/dev/sdc1 / /dev/sda1 /old", ""},
        {"a volume this user cannot query gets no letter, its device elsewhere and the next do",
         kRoot + "/dev/sdb1 /media/other/usb vfat rw 0 0\n/dev/sdc1 /srv ext4 rw 0 0\n" +
             "/dev/sdb1 /mnt/usb vfat rw 0 0\n",
         "/dev/sda2 / /dev/sdb1 /mnt/usb /dev/sdc1 /srv", "/media/other/usb"},
        {"no root line, malformed lines: C: is still /",
         "garbage\n/dev/sdb1 /short\n/dev/sdc1 relative ext4 rw 0 0\n\t/dev/sdd1  /ok\text4 rw 0 0",
         " / /dev/sdd1 /ok", ""},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        const auto reachable = [&](const MountEntry& v) { return v.mountPoint != row.unreachable; };
        std::string actual;
        for (const MountEntry& volume : MapDriveLetters(ParseMountTable(row.table), reachable)) {
            actual += (actual.empty() ? "" : " ") + volume.device + ' ' + volume.mountPoint;
        }
        CHECK(actual == row.letters);
    }
}

TEST_CASE("whether a letter's volume is still where it was") {
    struct Row {
        const char* name;
        std::string now;
        std::string mounted;  // per letter from C:, at start C:, D: and E:
        std::string dIsOn;    // where the system recognises D:'s filesystem now
    };
    const Row rows[] = {
        {"each still in place, among new mounts and a root listed after them",
         kE + "tmpfs /run tmpfs rw 0 0\n" + kRoot + kD, "111", ""},
        {"an unmounted volume has gone", kRoot + kE, "101", ""},
        {"back under another device name it is there, another disk at its mount point is not",
         kRoot + "/dev/sdd1 /mnt/d ext4 rw 0 0\n/dev/sde1 /mnt/e vfat rw 0 0\n", "110",
         "/dev/sdd1"},
        {"a mount over it hides it, even one of its filesystem",
         kRoot + kD + "/dev/sdd1 /mnt/d ext4 rw 0 0\n" + kE, "101", "/dev/sdd1"},
        {"a later mount on a folder above it hides it",
         kRoot + kD + kE + "tmpfs /mnt tmpfs rw 0 0\n", "100", ""},
        {"mounted elsewhere is not where the letter looks",
         kRoot + "/dev/sdb1 /media/d ext4 rw 0 0\n" + kE, "101", ""},
    };
    const auto start =
        MapDriveLetters(ParseMountTable(kRoot + kD + kE), [](auto&) { return true; });
    for (const Row& row : rows) {
        INFO(row.name);
        const auto sameVolume = [&](std::size_t letter, const MountEntry& top) {
            return letter == 1 && top.device == row.dIsOn;
        };
        std::string actual;
        for (const bool m : StillMounted(start, ParseMountTable(row.now), sameVolume)) {
            actual += m ? '1' : '0';
        }
        CHECK(actual == row.mounted);
    }
}

TEST_CASE("which volumes answer from what the kernel holds in memory") {
    struct Row {
        const char* name;
        std::string table;
        const char* path;
        bool fromMemory;
    };
    const Row rows[] = {
        {"a disk", kRoot + kFuse, "/", true},
        {"a FUSE volume", kRoot + kFuse, "/media/stick", false},
        {"a FAT stick, which may count its free space on the disk",
         kRoot + "/dev/sdc1 /media/usb vfat rw 0 0\n", "/media/usb", false},
        {"a disk inside a FUSE volume", kRoot + kFuse + "/dev/sdc1 /media/stick/in ext4 rw 0 0\n",
         "/media/stick/in", false},
        {"a disk under a network home",
         kRoot + "srv:/home /home nfs4 rw 0 0\n/dev/sdc1 /home/me/disk ext4 rw 0 0\n",
         "/home/me/disk", false},
        {"a disk beside a FUSE volume", kRoot + kFuse + "/dev/sdc1 /media/sticky xfs rw 0 0\n",
         "/media/sticky", true},
        {"a disk over a FUSE volume it hides",
         kRoot + "me@h:/ /mnt fuse.sshfs rw 0 0\n/dev/sdc1 /mnt btrfs rw 0 0\n", "/mnt", true},
    };
    for (const Row& row : rows) {
        INFO(row.name);
        CHECK(AnswersFromMemory(ParseMountTable(row.table), row.path) == row.fromMemory);
    }
}
