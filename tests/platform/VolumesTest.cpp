#include "platform/Volumes.h"

#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QDir>

using namespace vastel;
using vastel::test::TempTree;

namespace {

// A machine with pseudo file systems, a snap, a container overlay and two mounts stacked on
// one mount point. Device numbers are made up; the device folders point at empty fixtures so
// that the test machine's own disks play no part.
const QByteArray kMountInfo =
    "21 26 0:20 / /proc rw,relatime shared:5 - proc proc rw\n"
    "22 26 0:21 / /sys rw,relatime shared:6 - sysfs sysfs rw\n"
    "23 26 0:6 / /dev rw,relatime shared:2 - devtmpfs devtmpfs rw,size=100k\n"
    "25 23 0:23 / /dev/pts rw,relatime - devpts devpts rw,mode=600\n"
    "26 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
    "30 26 0:27 / /run rw,nosuid shared:12 - tmpfs tmpfs rw,size=1620600k\n"
    "31 22 0:28 / /sys/fs/cgroup rw shared:9 - tmpfs tmpfs rw\n"
    "32 31 0:29 / /sys/fs/cgroup/unified rw shared:10 - cgroup2 cgroup2 rw\n"
    "40 26 7:3 / /snap/core22/1380 ro shared:20 - squashfs /dev/loop3 ro\n"
    "41 26 0:50 / /var/lib/docker/overlay2/abc/merged rw - overlay overlay rw,lowerdir=x\n"
    "50 26 259:3 / /home rw,relatime shared:30 - ext4 /dev/nvme0n1p3 rw\n"
    "51 26 8:17 /photos /media/ann/My\\040Stick rw shared:31 - vfat /dev/sdb1 rw\n"
    "52 26 0:60 / /mnt/share rw shared:32 - cifs //nas/Public\\040Files rw\n"
    "53 26 0:61 / /srv/nfs rw - nfs4 nas:/export rw\n"
    "54 26 11:0 / /cdrom ro - iso9660 /dev/sr0 ro\n"
    "55 26 0:62 / /tmp rw - tmpfs tmpfs rw\n"
    "56 26 259:4 / /data rw - ext4 /dev/nvme0n1p4 rw\n"
    "57 56 259:5 / /data rw - xfs /dev/nvme0n1p5 rw\n"
    "58 26 259:6 / /tab\\011and\\012newline\\134x rw - ext4 /dev/nvme0n1p6 rw\n"
    "59 26 0:63 / /sys/kernel/debug rw - debugfs debugfs rw\n"
    "60 26 0:64 / /proc/sys/fs/binfmt_misc rw - autofs systemd-1 rw\n"
    "61 26 259:7 / /hidden rw - ext4 /dev/nvme0n1p7 rw\n"
    "62 61 0:65 / /hidden rw - proc proc rw\n"
    "garbage line\n"
    "\n";

DeviceFolders emptyDeviceFolders(TempTree& tree) {
    return DeviceFolders{tree.createFolder("sys"), tree.createFolder("by-label")};
}

const Volume* find(const std::vector<Volume>& volumes, const QByteArray& mountPoint) {
    for (const Volume& v : volumes)
        if (v.mountPoint == mountPoint) return &v;
    return nullptr;
}

}  // namespace

TEST(MountInfo, ParsesFieldsAndUnescapesOctal) {
    const std::vector<MountInfoLine> lines = parseMountInfo(kMountInfo);
    ASSERT_EQ(lines.size(), 23u);  // the garbage and empty lines are dropped
    const MountInfoLine& stick = lines[11];
    EXPECT_EQ(stick.mountId, 51);
    EXPECT_EQ(stick.parentId, 26);
    EXPECT_EQ(stick.major, 8u);
    EXPECT_EQ(stick.minor, 17u);
    EXPECT_EQ(stick.root, "/photos");
    EXPECT_EQ(stick.mountPoint, "/media/ann/My Stick");
    EXPECT_EQ(stick.fsType, "vfat");
    EXPECT_EQ(stick.source, "/dev/sdb1");
    EXPECT_EQ(lines[12].source, "//nas/Public Files");
    EXPECT_EQ(lines[18].mountPoint, "/tab\tand\nnewline\\x");
}

TEST(MountInfo, UnescapeLeavesIncompleteSequences) {
    EXPECT_EQ(unescapeMountField("a\\040b"), "a b");
    EXPECT_EQ(unescapeMountField("a\\04"), "a\\04");
    EXPECT_EQ(unescapeMountField("a\\089"), "a\\089");
    EXPECT_EQ(unescapeMountField("\\134\\134"), "\\\\");
}

TEST(MountInfo, OffersOneVisibleMountPerMountPointSorted) {
    TempTree tree;
    const std::vector<Volume> volumes = volumesFromMountInfo(kMountInfo, emptyDeviceFolders(tree));
    QByteArrayList points;
    for (const Volume& v : volumes) points << v.mountPoint;
    EXPECT_EQ(points,
              (QByteArrayList{"/", "/cdrom", "/data", "/home", "/media/ann/My Stick", "/mnt/share",
                              "/run", "/srv/nfs", "/tab\tand\nnewline\\x", "/tmp"}));
    // The xfs mounted over the ext4 is what /data shows.
    EXPECT_EQ(find(volumes, "/data")->fsType, "xfs");
    EXPECT_EQ(find(volumes, "/data")->device, makedev(259, 5));
}

TEST(MountInfo, OverlayIsOfferedOnlyAsTheRoot) {
    TempTree tree;
    const QByteArray text =
        "1 0 0:30 / / rw - overlay overlay rw,lowerdir=/l\n"
        "2 1 0:31 / /var/lib/docker/x/merged rw - overlay overlay rw\n";
    const std::vector<Volume> volumes = volumesFromMountInfo(text, emptyDeviceFolders(tree));
    ASSERT_EQ(volumes.size(), 1u);
    EXPECT_EQ(volumes[0].mountPoint, "/");
    EXPECT_EQ(volumes[0].type, DriveType::Fixed);
}

TEST(MountInfo, ClassifiesDriveTypes) {
    TempTree tree;
    const std::vector<Volume> volumes = volumesFromMountInfo(kMountInfo, emptyDeviceFolders(tree));
    const std::pair<const char*, DriveType> cases[] = {
        {"/", DriveType::Fixed},
        {"/home", DriveType::Fixed},
        {"/media/ann/My Stick", DriveType::Removable},  // below /media
        {"/mnt/share", DriveType::Network},             // cifs wins over the /mnt rule
        {"/srv/nfs", DriveType::Network},
        {"/cdrom", DriveType::CdRom},
        {"/tmp", DriveType::RamDisk},
        {"/run", DriveType::RamDisk},
    };
    for (const auto& [point, type] : cases) {
        const Volume* v = find(volumes, point);
        ASSERT_NE(v, nullptr) << point;
        EXPECT_EQ(v->type, type) << point;
    }
    EXPECT_EQ(find(volumes, "/mnt/share")->source, "//nas/Public Files");
    EXPECT_EQ(find(volumes, "/srv/nfs")->source, "nas:/export");
}

TEST(MountInfo, RemovableFlagOfThePartitionsDisk) {
    TempTree tree;
    // sysfs shape: dev/block/MAJ:MIN links to the partition's folder inside its disk's folder.
    tree.createFileWith("sys/devices/usb1/block/sdb/removable", "1\n");
    tree.createFileWith("sys/devices/usb1/block/sdb/sdb1/partition", "1\n");
    tree.createFileWith("sys/devices/pci/block/sda/removable", "0\n");
    tree.createFileWith("sys/devices/pci/block/sda/sda2/partition", "2\n");
    tree.createSymlink("sys/dev/block/8:17", "../../devices/usb1/block/sdb/sdb1");
    tree.createSymlink("sys/dev/block/8:2", "../../devices/pci/block/sda/sda2");
    tree.createSymlink("sys/dev/block/8:16", "../../devices/usb1/block/sdb");
    const QByteArray sys = tree.path("sys");
    EXPECT_TRUE(isRemovableBlockDevice(makedev(8, 17), sys));
    EXPECT_TRUE(isRemovableBlockDevice(makedev(8, 16), sys));
    EXPECT_FALSE(isRemovableBlockDevice(makedev(8, 2), sys));
    EXPECT_FALSE(isRemovableBlockDevice(makedev(8, 99), sys));

    const QByteArray text =
        "1 0 8:2 / / rw - ext4 /dev/sda2 rw\n"
        "2 1 8:17 / /srv/usb rw - exfat /dev/sdb1 rw\n";
    const std::vector<Volume> volumes =
        volumesFromMountInfo(text, DeviceFolders{sys, tree.createFolder("by-label")});
    EXPECT_EQ(find(volumes, "/")->type, DriveType::Fixed);
    EXPECT_EQ(find(volumes, "/srv/usb")->type, DriveType::Removable);
}

TEST(MountInfo, LabelsFromByLabelLinks) {
    EXPECT_EQ(decodeLabelLinkName("My\\x20Disk"), QStringLiteral("My Disk"));
    EXPECT_EQ(decodeLabelLinkName("a\\x2fb\\xzz"), QStringLiteral("a/b\\xzz"));
    EXPECT_EQ(decodeLabelLinkName("caf\\xc3\\xa9"), QStringLiteral("caf\u00e9"));

    // The links name devices; /dev/null (1:3) stands in for a labelled disk.
    TempTree tree;
    tree.createSymlink("by-label/SYS\\x20DISK", "/dev/null");
    const QByteArray text =
        "1 0 1:3 / / rw - ext4 /dev/whatever rw\n"
        "2 1 259:9 / /home rw - ext4 /dev/nvme0n1p9 rw\n";
    const std::vector<Volume> volumes =
        volumesFromMountInfo(text, DeviceFolders{tree.createFolder("sys"), tree.path("by-label")});
    EXPECT_EQ(find(volumes, "/")->label, QStringLiteral("SYS DISK"));
    EXPECT_TRUE(find(volumes, "/home")->label.isEmpty());
}

TEST(Volumes, VolumeOfRespectsComponentBoundaries) {
    std::vector<Volume> volumes(4);
    volumes[0].mountPoint = "/";
    volumes[1].mountPoint = "/home";
    volumes[2].mountPoint = "/home/ann/usb";
    volumes[3].mountPoint = "/media/My Stick";
    const std::pair<const char*, const char*> cases[] = {
        {"/", "/"},
        {"/etc/passwd", "/"},
        {"/home", "/home"},
        {"/home/ann/file", "/home"},
        {"/homework/x", "/"},
        {"/home/ann/usb/a", "/home/ann/usb"},
        {"/home/ann/usbx", "/home"},
        {"/media/My Stick/DCIM", "/media/My Stick"},
    };
    for (const auto& [path, expected] : cases) {
        const Volume* v = volumeOf(path, volumes);
        ASSERT_NE(v, nullptr) << path;
        EXPECT_EQ(v->mountPoint, expected) << path;
    }
    EXPECT_EQ(volumeOf("relative/path", volumes), nullptr);
    EXPECT_EQ(volumeOf("/x", {}), nullptr);
}

TEST(Volumes, CurrentVolumeFollowsTheCurrentFolder) {
    TempTree tree;
    std::vector<Volume> volumes(2);
    volumes[0].mountPoint = "/";
    volumes[1].mountPoint = tree.root();
    const QByteArray before = QDir::currentPath().toUtf8();
    ASSERT_EQ(::chdir(tree.createFolder("inside").constData()), 0);
    const Volume* inside = currentVolume(volumes);
    ASSERT_EQ(::chdir("/"), 0);
    const Volume* atRoot = currentVolume(volumes);
    const std::vector<Volume> rootOnly = {volumes[0]};
    const Volume* fallback = currentVolume(rootOnly);
    ASSERT_EQ(::chdir(before.constData()), 0);
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside->mountPoint, tree.root());
    EXPECT_EQ(atRoot->mountPoint, "/");
    EXPECT_EQ(fallback->mountPoint, "/");
}

TEST(Volumes, LiveMountTableAndSpace) {
    const std::vector<Volume> volumes = mountedVolumes();
    ASSERT_FALSE(volumes.empty());
    ASSERT_NE(find(volumes, "/"), nullptr);
    for (const Volume& v : volumes) {
        EXPECT_NE(v.fsType, "proc");
        EXPECT_NE(v.fsType, "sysfs");
    }
    EXPECT_TRUE(std::is_sorted(
        volumes.begin(), volumes.end(),
        [](const Volume& a, const Volume& b) { return a.mountPoint < b.mountPoint; }));

    EXPECT_TRUE(driveReady("/"));
    EXPECT_FALSE(driveReady("/no/such/folder/anywhere"));
    EXPECT_FALSE(driveReady(""));
    DriveSpace space;
    ASSERT_TRUE(driveSpace("/", space));
    EXPECT_GT(space.totalBytes, 0);
    EXPECT_LE(space.freeBytes, space.totalBytes);
    EXPECT_FALSE(driveSpace("/no/such/folder/anywhere", space));
    EXPECT_GT(clusterSize("/"), 0);
    EXPECT_EQ(clusterSize("/no/such/folder/anywhere"), 0);
    EXPECT_FALSE(isRemovablePath("/"));
}
