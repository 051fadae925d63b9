#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <vector>

namespace vastel {

enum class DriveType { Fixed, Removable, Network, CdRom, RamDisk };

// One line of /proc/self/mountinfo, fields unescaped (\040, \011, \012, \134).
struct MountInfoLine {
    int mountId = 0;
    int parentId = 0;
    unsigned major = 0, minor = 0;
    QByteArray root;  // root of the mount within its file system
    QByteArray mountPoint;
    QByteArray fsType;
    QByteArray source;  // device or share
};

// A mounted volume that the program offers as a drive.
struct Volume {
    QByteArray mountPoint;
    QByteArray source;
    QByteArray fsType;
    DriveType type = DriveType::Fixed;
    QString label;  // volume label, empty when there is none
    dev_t device = 0;
};

struct DriveSpace {
    double freeBytes = 0;
    double totalBytes = 0;
};

// Where the device facts come from; tests point these at fixture folders.
struct DeviceFolders {
    QByteArray sysfs = "/sys";                     // sysfs: dev/block/MAJ:MIN/removable
    QByteArray labelLinks = "/dev/disk/by-label";  // one symlink per labelled device
};

std::vector<MountInfoLine> parseMountInfo(const QByteArray& text);
QByteArray unescapeMountField(const QByteArray& field);

// Pseudo and kernel file systems, snap images and overlays other than "/" are left out.
bool isOfferedMount(const MountInfoLine& line);
DriveType driveTypeOf(const MountInfoLine& line, const DeviceFolders& folders = {});
// The block device (a partition counts as its disk) reports itself removable in sysfs.
bool isRemovableBlockDevice(dev_t device, const QByteArray& sysfsRoot = "/sys");
// A by-label link name with its \xHH escapes decoded ("My\x20Disk" -> "My Disk").
QString decodeLabelLinkName(const QByteArray& linkName);

// The offered volumes, one per distinct mount point (the mount that is visible there),
// sorted by mount point.
std::vector<Volume> mountedVolumes();
std::vector<Volume> volumesFromMountInfo(const QByteArray& mountInfoText,
                                         const DeviceFolders& folders = {});

// Every mount point of the process, pseudo file systems and hidden mounts included.
QByteArrayList allMountPoints();

// The volume whose mount point is the longest prefix of the path, compared by whole path
// components and without resolving links; nullptr when none.
const Volume* volumeOf(const QByteArray& path, const std::vector<Volume>& volumes);
// The volume of the process's current folder, else the one at "/".
const Volume* currentVolume(const std::vector<Volume>& volumes);

bool driveReady(const QByteArray& root);                   // statvfs succeeds
bool driveSpace(const QByteArray& root, DriveSpace& out);  // false when statvfs fails
qint64 clusterSize(const QByteArray& root);                // f_bsize, 0 on failure
bool isRemovablePath(const QByteArray& path);              // the path lies on a removable volume

}  // namespace vastel
