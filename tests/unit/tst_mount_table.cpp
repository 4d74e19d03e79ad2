// Which mounted volumes become drive letters, from fixture mount tables.

#include <QtTest>

#include "platform/mount_table.h"

using namespace kelvane;

namespace {

const QString kRoot = QStringLiteral("/dev/sda2 / ext4 rw,relatime 0 0\n");

}  // namespace

class TestMountTable : public QObject {
    Q_OBJECT
  private slots:
    void letters_data();
    void letters();
    void escapes_data();
    void escapes();
    void stillMounted_data();
    void stillMounted();
};

void TestMountTable::letters_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("rootDevice");
    QTest::addColumn<QStringList>("mountPoints");  // C: first
    const QString sda2 = QStringLiteral("/dev/sda2");
    QTest::newRow("pseudo and virtual filesystems get no letter")
        << "proc /proc proc rw 0 0\nsysfs /sys sysfs rw 0 0\ntmpfs /run tmpfs rw 0 0\n"
           "devtmpfs /dev devtmpfs rw 0 0\ncgroup2 /sys/fs/cgroup cgroup2 rw 0 0\n"
           "overlay /var/lib/docker/overlay2/x/merged overlay rw 0 0\n" +
               kRoot
        << sda2 << QStringList{"/"};
    QTest::newRow("network filesystems get no letter")
        << kRoot +
               "srv:/export /mnt/nfs nfs4 rw 0 0\n//srv/share /mnt/smb cifs rw 0 0\n"
               "me@host:/ /mnt/ssh fuse.sshfs rw 0 0\nremote: /mnt/cloud fuse.rclone rw 0 0\n"
        << sda2 << QStringList{"/"};
    QTest::newRow("a disk type without a block device gets no letter")
        << kRoot + "none /mnt/n vfat rw 0 0\nhost:/share /mnt/h fuseblk rw 0 0\n"
        << sda2 << QStringList{"/"};
    QTest::newRow("squashfs images get no letter")
        << kRoot +
               "/dev/loop3 /snap/core22/1122 squashfs ro 0 0\n"
               "/dev/loop4 /mnt/live squashfs rw 0 0\n"
        << sda2 << QStringList{"/"};
    QTest::newRow("btrfs subvolumes count once")
        << "/dev/nvme0n1p2 /home btrfs rw,subvol=/@home 0 0\n"
           "/dev/nvme0n1p2 / btrfs rw,subvol=/@ 0 0\n/dev/nvme0n1p3 /data btrfs rw 0 0\n"
           "/dev/nvme0n1p2 /.snapshots btrfs rw,subvol=/@snapshots 0 0\n"
        << "/dev/nvme0n1p2" << QStringList{"/", "/data"};
    QTest::newRow("bind mount keeps the first path in order")
        << kRoot + "/dev/sdb1 /srv/b ext4 rw 0 0\n/dev/sdb1 /mnt/a ext4 rw 0 0\n"
        << sda2 << QStringList{"/", "/mnt/a"};
    QTest::newRow("letters follow mount point order, not file order")
        << kRoot +
               "/dev/sdc1 /mnt/z xfs rw 0 0\n/dev/sda1 /boot/efi vfat rw 0 0\n"
               "/dev/sdd1 /home ext4 rw 0 0\n"
        << sda2 << QStringList{"/", "/boot/efi", "/home", "/mnt/z"};
    QTest::newRow("escaped space in a mount point")
        << kRoot + "/dev/sdb1 /media/user/My\\040Disk exfat rw 0 0\n"
        << sda2 << QStringList{"/", "/media/user/My Disk"};
    QTest::newRow("root mounted twice: the last one is C:")
        << "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /data ext4 rw 0 0\n/dev/sdc1 / ext4 rw 0 0\n"
           "/dev/sda1 /old ext4 rw 0 0\n"
        << "/dev/sdc1" << QStringList{"/", "/data", "/old"};
    QTest::newRow("a later mount hides the disk beneath it")
        << kRoot + "/dev/sdb1 /mnt ext4 rw 0 0\ntmpfs /mnt tmpfs rw 0 0\n"
        << sda2 << QStringList{"/"};
    QTest::newRow("read-only volumes get no letter")
        << kRoot +
               "/dev/sr0 /media/cdrom iso9660 ro 0 0\n/dev/sdb1 /media/usb vfat "
               "rw,errors=remount-ro 0 0\n"
        << sda2 << QStringList{"/", "/media/usb"};
    QTest::newRow("zfs datasets by name, each once")
        << "rpool/ROOT/debian / zfs rw 0 0\nrpool/home /home zfs rw 0 0\n"
           "rpool/home /export/home zfs rw 0 0\n"
        << "rpool/ROOT/debian" << QStringList{"/", "/export/home"};
    QTest::newRow("no root line still gives C:") << "/dev/sdb1 /data ext4 rw 0 0\n"
                                                 << QString() << QStringList{"/", "/data"};
    QTest::newRow("malformed lines are skipped")
        << kRoot +
               "garbage\n/dev/sdb1 /short\n/dev/sdc1 relative ext4 rw 0 0\n\n"
               "\t/dev/sdd1  /ok\text4 rw 0 0"
        << sda2 << QStringList{"/", "/ok"};
    QString many = kRoot;
    QStringList first24 = {"/"};
    for (int i = 10; i < 40; ++i) {
        many += QByteArray("/dev/sd") + QByteArray::number(i) + " /mnt/d" + QByteArray::number(i) +
                " ext4 rw 0 0\n";
        if (first24.size() < 24) {
            first24 << QStringLiteral("/mnt/d%1").arg(i);
        }
    }
    QTest::newRow("more than 24 volumes stop at Z:") << many << sda2 << first24;
}

void TestMountTable::letters() {
    QFETCH(QString, table);
    QFETCH(QString, rootDevice);
    QFETCH(QStringList, mountPoints);
    const auto letters = MapDriveLetters(ParseMountTable(table.toStdString()));
    QStringList actual;
    for (const MountEntry& volume : letters) {
        actual << QString::fromStdString(volume.mountPoint);
    }
    QCOMPARE(actual, mountPoints);
    QCOMPARE(QString::fromStdString(letters.front().device), rootDevice);
}

void TestMountTable::escapes_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<QByteArray>("mountPoint");
    QTest::newRow("space, tab, newline and backslash, in device and mount point")
        << QByteArray("/dev/disk/by-label/My\\040Disk /m/a\\040b\\011c\\012d\\134e ext4 rw 0 0")
        << QByteArray("/dev/disk/by-label/My Disk") << QByteArray("/m/a b\tc\nd\\e");
    QTest::newRow("backslash without an octal byte is kept")
        << QByteArray("/dev/sdb1 /m/\\09\\400\\4 ext4 rw 0 0") << QByteArray("/dev/sdb1")
        << QByteArray("/m/\\09\\400\\4");
}

void TestMountTable::escapes() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, device);
    QFETCH(QByteArray, mountPoint);
    const auto table = ParseMountTable(line.toStdString());
    QCOMPARE(table.size(), 1u);
    QCOMPARE(QByteArray::fromStdString(table[0].device), device);
    QCOMPARE(QByteArray::fromStdString(table[0].mountPoint), mountPoint);
}

void TestMountTable::stillMounted_data() {
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("now");
    QTest::addColumn<QString>("mounted");  // per letter from C:
    const QString d = QStringLiteral("/dev/sdb1 /mnt/d ext4 rw 0 0\n");
    const QString e = QStringLiteral("/dev/sdc1 /mnt/e vfat rw 0 0\n");
    QTest::newRow("each volume still in place, in any order among new mounts")
        << kRoot + d + e << e + "tmpfs /run tmpfs rw 0 0\n" + kRoot + d << "111";
    QTest::newRow("an unmounted volume has gone") << kRoot + d + e << kRoot + e << "101";
    QTest::newRow("another disk at its mount point is not it")
        << kRoot + d + e << kRoot + "/dev/sdd1 /mnt/d ext4 rw 0 0\n" + e << "101";
    QTest::newRow("a mount over it hides it")
        << kRoot + d + e << kRoot + d + "tmpfs /mnt/d tmpfs rw 0 0\n" + e << "101";
    QTest::newRow("mounted elsewhere is not where the letter looks")
        << kRoot + d + e << kRoot + "/dev/sdb1 /media/d ext4 rw 0 0\n" + e << "101";
    QTest::newRow("a root unknown at start always counts") << d << e << "10";
}

void TestMountTable::stillMounted() {
    QFETCH(QString, start);
    QFETCH(QString, now);
    QFETCH(QString, mounted);
    const auto still = StillMounted(MapDriveLetters(ParseMountTable(start.toStdString())),
                                    ParseMountTable(now.toStdString()));
    QString actual;
    for (const bool m : still) {
        actual += m ? '1' : '0';
    }
    QCOMPARE(actual, mounted);
}

QTEST_APPLESS_MAIN(TestMountTable)
#include "tst_mount_table.moc"
