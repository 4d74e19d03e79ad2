// SPDX-FileCopyrightText: 2026 The Kelvane developers
// SPDX-License-Identifier: MIT

// Which mounted volumes become drive letters, and whether they are still mounted, from mount
// tables as the kernel writes them. (The fuzz target checks the mapping's other properties:
// one letter per device, in mount point order, each the last mount at its path.)

#include <QtTest>

#include "parsers/mount_table.h"

using namespace kelvane;

namespace {

const QString kRoot = QStringLiteral("/dev/sda2 / ext4 rw,relatime 0 0\n");

std::vector<MountEntry> Table(const QString& text) {
    return ParseMountTable(text.toStdString());
}

}  // namespace

class TestMountTable : public QObject {
    Q_OBJECT
  private slots:
    void letters_data();
    void letters();
    void stillMounted_data();
    void stillMounted();
    void answersFromMemory_data();
    void answersFromMemory();
};

void TestMountTable::letters_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("letters");      // "device mountPoint" per letter from C:
    QTest::addColumn<QString>("unreachable");  // a mount point this user cannot query
    const auto row = [](const char* name, const QString& table, const QString& letters,
                        const QString& unreachable = {}) {
        QTest::newRow(name) << table << letters << unreachable;
    };
    row("pseudo, network, image and FUSE filesystems get no letter",
        "proc /proc proc rw 0 0\ntmpfs /run tmpfs rw 0 0\noverlay /o overlay rw 0 0\n" + kRoot +
            "srv:/export /mnt/nfs nfs4 rw 0 0\n//srv/share /mnt/smb cifs rw 0 0\n"
            "me@host:/ /mnt/ssh fuse.sshfs rw 0 0\nnone /mnt/n vfat rw 0 0\n"
            "/dev/loop3 /snap/core squashfs ro 0 0\n",
        "/dev/sda2 /");
    row("read-only volumes and volumes hidden by a later mount get no letter",
        kRoot +
            "/dev/sr0 /media/cd iso9660 ro 0 0\n/dev/sdb1 /mnt ext4 rw 0 0\ntmpfs /mnt tmpfs rw 0 "
            "0\n"
            "/dev/sdc1 /media/usb vfat rw,errors=remount-ro 0 0\n",
        "/dev/sda2 / /dev/sdc1 /media/usb");
    row("a volume under a later mount on a folder above it gets no letter, one mounted after does",
        kRoot +
            "/dev/sdb1 /srv/a/b ext4 rw 0 0\ntmpfs /srv/a tmpfs rw 0 0\n"
            "/dev/sdc1 /srv/a/c ext4 rw 0 0\n",
        "/dev/sda2 / /dev/sdc1 /srv/a/c");
    row("btrfs subvolumes and zfs datasets count once",
        "rpool/ROOT / zfs rw 0 0\n/dev/nvme0n1p2 /home btrfs rw,subvol=/@home 0 0\n"
        "/dev/nvme0n1p2 /.snapshots btrfs rw,subvol=/@snapshots 0 0\nrpool/home /export zfs rw 0 "
        "0\n",
        "rpool/ROOT / /dev/nvme0n1p2 /.snapshots rpool/home /export");
    row("the kernel's escapes are read, other backslashes kept",
        kRoot + "/dev/disk/by-label/My\\040Disk /m/a\\040b\\011c\\134d\\09 exfat rw 0 0\n",
        "/dev/sda2 / /dev/disk/by-label/My Disk /m/a b\tc\\d\\09");
    row("root mounted twice: the last one is C:",
        "/dev/sda1 / ext4 rw 0 0\n/dev/sdc1 / ext4 rw 0 0\n/dev/sda1 /old ext4 rw 0 0\n",
        "/dev/sdc1 / /dev/sda1 /old");
    row("a volume this user cannot query gets no letter, its device elsewhere and the next do",
        kRoot +
            "/dev/sdb1 /media/other/usb vfat rw 0 0\n/dev/sdc1 /srv ext4 rw 0 0\n"
            "/dev/sdb1 /mnt/usb vfat rw 0 0\n",
        "/dev/sda2 / /dev/sdb1 /mnt/usb /dev/sdc1 /srv", "/media/other/usb");
    row("no root line, malformed lines: C: is still /",
        "garbage\n/dev/sdb1 /short\n/dev/sdc1 relative ext4 rw 0 0\n\t/dev/sdd1  /ok\text4 rw 0 0",
        " / /dev/sdd1 /ok");
}

void TestMountTable::letters() {
    QFETCH(QString, table);
    QFETCH(QString, letters);
    QFETCH(QString, unreachable);
    const auto reachable = [&](const MountEntry& v) {
        return v.mountPoint != unreachable.toStdString();
    };
    QStringList actual;
    for (const MountEntry& volume : MapDriveLetters(Table(table), reachable)) {
        actual << QString::fromStdString(volume.device + ' ' + volume.mountPoint);
    }
    QCOMPARE(actual.join(QLatin1Char(' ')), letters);
}

void TestMountTable::stillMounted_data() {
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("dIsOn");    // where the system recognises D:'s filesystem now
    QTest::addColumn<QString>("mounted");  // per letter from C:, at start C:, D: and E:
    const auto row = [](const char* name, const QString& now, const QString& mounted,
                        const QString& dIsOn = {}) {
        QTest::newRow(name) << now << dIsOn << mounted;
    };
    const QString d = QStringLiteral("/dev/sdb1 /mnt/d ext4 rw 0 0\n");
    const QString e = QStringLiteral("/dev/sdc1 /mnt/e vfat rw 0 0\n");
    row("each still in place, among new mounts and a root listed after them",
        e + "tmpfs /run tmpfs rw 0 0\n" + kRoot + d, "111");
    row("an unmounted volume has gone", kRoot + e, "101");
    row("back under another device name it is there, another disk at its mount point is not",
        kRoot + "/dev/sdd1 /mnt/d ext4 rw 0 0\n/dev/sde1 /mnt/e vfat rw 0 0\n", "110", "/dev/sdd1");
    row("a mount over it hides it, even one of its filesystem",
        kRoot + d + "/dev/sdd1 /mnt/d ext4 rw 0 0\n" + e, "101", "/dev/sdd1");
    row("a later mount on a folder above it hides it", kRoot + d + e + "tmpfs /mnt tmpfs rw 0 0\n",
        "100");
    row("mounted elsewhere is not where the letter looks",
        kRoot + "/dev/sdb1 /media/d ext4 rw 0 0\n" + e, "101");
}

void TestMountTable::stillMounted() {
    QFETCH(QString, now);
    QFETCH(QString, dIsOn);
    QFETCH(QString, mounted);
    const QString start = kRoot + "/dev/sdb1 /mnt/d ext4 rw 0 0\n/dev/sdc1 /mnt/e vfat rw 0 0\n";
    const auto sameVolume = [&](std::size_t letter, const MountEntry& top) {
        return letter == 1 && top.device == dIsOn.toStdString();
    };
    QString actual;
    for (const bool m : StillMounted(MapDriveLetters(Table(start), [](auto&) { return true; }),
                                     Table(now), sameVolume)) {
        actual += m ? '1' : '0';
    }
    QCOMPARE(actual, mounted);
}

void TestMountTable::answersFromMemory_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("fromMemory");
    const QString fuse = QStringLiteral("/dev/sdb1 /media/stick fuseblk rw 0 0\n");
    const auto row = [](const char* name, const QString& table, const char* path, bool answers) {
        QTest::newRow(name) << table << path << answers;
    };
    row("a disk", kRoot + fuse, "/", true);
    row("a FUSE volume", kRoot + fuse, "/media/stick", false);
    row("a FAT stick, which may count its free space on the disk",
        kRoot + "/dev/sdc1 /media/usb vfat rw 0 0\n", "/media/usb", false);
    row("a disk inside a FUSE volume", kRoot + fuse + "/dev/sdc1 /media/stick/in ext4 rw 0 0\n",
        "/media/stick/in", false);
    row("a disk under a network home",
        kRoot + "srv:/home /home nfs4 rw 0 0\n/dev/sdc1 /home/me/disk ext4 rw 0 0\n",
        "/home/me/disk", false);
    row("a disk beside a FUSE volume", kRoot + fuse + "/dev/sdc1 /media/sticky xfs rw 0 0\n",
        "/media/sticky", true);
    row("a disk over a FUSE volume it hides",
        kRoot + "me@h:/ /mnt fuse.sshfs rw 0 0\n/dev/sdc1 /mnt btrfs rw 0 0\n", "/mnt", true);
}

void TestMountTable::answersFromMemory() {
    QFETCH(QString, table);
    QFETCH(QString, path);
    QFETCH(bool, fromMemory);
    QCOMPARE(AnswersFromMemory(Table(table), path.toStdString()), fromMemory);
}

QTEST_APPLESS_MAIN(TestMountTable)
#include "tst_mount_table.moc"
