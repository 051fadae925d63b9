#include "platform/Volumes.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <string_view>

namespace vastel {

namespace {

// File systems that hold no user files: kernel interfaces and pseudo file systems.
const std::set<std::string_view> kPseudoFileSystems = {
    "proc",       "sysfs",      "devtmpfs",  "devpts",  "cgroup",      "cgroup2",
    "securityfs", "debugfs",    "tracefs",   "mqueue",  "hugetlbfs",   "configfs",
    "fusectl",    "bpf",        "pstore",    "autofs",  "binfmt_misc", "efivarfs",
    "nsfs",       "rpc_pipefs", "selinuxfs", "smackfs", "nfsd",
};

const std::set<std::string_view> kNetworkFileSystems = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs", "9p", "fuse.sshfs", "afs", "ceph", "glusterfs",
};

std::string_view view(const QByteArray& bytes) {
    return std::string_view(bytes.constData(), size_t(bytes.size()));
}

bool isOctal(char c) { return c >= '0' && c <= '7'; }

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// True when path equals folder or lies below it, by whole components.
bool isAtOrBelow(const QByteArray& path, const QByteArray& folder) {
    if (folder == "/") return path.startsWith('/');
    if (!path.startsWith(folder)) return false;
    return path.size() == folder.size() || path[folder.size()] == '/';
}

bool isBelowRemovableMediaFolder(const QByteArray& mountPoint) {
    return isAtOrBelow(mountPoint, "/media") || isAtOrBelow(mountPoint, "/run/media") ||
           isAtOrBelow(mountPoint, "/mnt");
}

// A small sysfs attribute such as "1\n".
QByteArray readSmallFile(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return {};
    char buf[64];
    const ssize_t n = ::read(fd, buf, sizeof buf);
    ::close(fd);
    return n > 0 ? QByteArray(buf, n).trimmed() : QByteArray();
}

QByteArray realPath(const QByteArray& path) {
    char* resolved = ::realpath(path.constData(), nullptr);
    if (!resolved) return {};
    const QByteArray out(resolved);
    ::free(resolved);
    return out;
}

// The device behind a mount: its mountinfo numbers, or, for file systems that report an
// anonymous device (btrfs, fuse), the block device named as the source.
dev_t backingDevice(const MountInfoLine& line) {
    if (line.major != 0) return makedev(line.major, line.minor);
    struct stat st;
    if (line.source.startsWith("/dev/") && ::stat(line.source.constData(), &st) == 0 &&
        S_ISBLK(st.st_mode))
        return st.st_rdev;
    return makedev(line.major, line.minor);
}

// Device number -> label, from the by-label symlinks.
std::map<dev_t, QString> readLabels(const QByteArray& folder) {
    std::map<dev_t, QString> labels;
    if (folder.isEmpty()) return labels;
    DIR* dir = ::opendir(folder.constData());
    if (!dir) return labels;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..") continue;
        struct stat st;
        if (::fstatat(::dirfd(dir), e->d_name, &st, 0) != 0) continue;
        if (!S_ISBLK(st.st_mode) && !S_ISCHR(st.st_mode)) continue;
        labels.emplace(st.st_rdev, decodeLabelLinkName(name));
    }
    ::closedir(dir);
    return labels;
}

// Of several mounts on one mount point, the visible one is on top of the others: no other
// mount there names it as its parent. File order breaks ties.
const MountInfoLine* visibleMount(const std::vector<const MountInfoLine*>& stack) {
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) {
        const bool covered = std::any_of(stack.begin(), stack.end(), [&](const MountInfoLine* o) {
            return o != *it && o->parentId == (*it)->mountId;
        });
        if (!covered) return *it;
    }
    return stack.back();
}

QByteArray readMountInfo() {
    QFile file(QStringLiteral("/proc/self/mountinfo"));
    // A proc file reports size 0; read until the end.
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return {};
    return file.readAll();
}

}  // namespace

QByteArray unescapeMountField(const QByteArray& field) {
    if (!field.contains('\\')) return field;
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOctal(field[i + 1]) &&
            isOctal(field[i + 2]) && isOctal(field[i + 3])) {
            out.append(char(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                            (field[i + 3] - '0')));
            i += 3;
        } else {
            out.append(field[i]);
        }
    }
    return out;
}

std::vector<MountInfoLine> parseMountInfo(const QByteArray& text) {
    std::vector<MountInfoLine> lines;
    for (const QByteArray& raw : text.split('\n')) {
        // Fields are separated by single blanks; blanks inside fields are escaped.
        const QList<QByteArray> f = raw.split(' ');
        // id parent maj:min root mount-point options [optional...] - type source super-options
        const qsizetype dash = f.indexOf(QByteArray("-"), 6);
        if (f.size() < 7 || dash < 0 || dash + 2 >= f.size()) continue;
        MountInfoLine line;
        bool okId = false, okParent = false, okMajor = false, okMinor = false;
        line.mountId = f[0].toInt(&okId);
        line.parentId = f[1].toInt(&okParent);
        const qsizetype colon = f[2].indexOf(':');
        if (colon < 0) continue;
        line.major = f[2].left(colon).toUInt(&okMajor);
        line.minor = f[2].mid(colon + 1).toUInt(&okMinor);
        if (!okId || !okParent || !okMajor || !okMinor) continue;
        line.root = unescapeMountField(f[3]);
        line.mountPoint = unescapeMountField(f[4]);
        line.fsType = unescapeMountField(f[dash + 1]);
        line.source = unescapeMountField(f[dash + 2]);
        if (line.mountPoint.isEmpty()) continue;
        lines.push_back(std::move(line));
    }
    return lines;
}

bool isOfferedMount(const MountInfoLine& line) {
    const std::string_view type = view(line.fsType);
    if (kPseudoFileSystems.count(type) || type == "squashfs") return false;
    if (type == "overlay" && line.mountPoint != "/") return false;
    // Whatever is mounted inside the kernel's own trees (a tmpfs for cgroups) is no drive.
    if (isAtOrBelow(line.mountPoint, "/proc") || isAtOrBelow(line.mountPoint, "/sys")) return false;
    return true;
}

bool isRemovableBlockDevice(dev_t device, const QByteArray& sysfsRoot) {
    if (major(device) == 0) return false;  // anonymous: no block device behind it
    const QByteArray link = sysfsRoot + "/dev/block/" + QByteArray::number(major(device)) + ':' +
                            QByteArray::number(minor(device));
    QByteArray dir = realPath(link);
    if (dir.isEmpty()) return false;
    // A partition's own folder has a "partition" file; the flag lives on its disk, one up.
    if (::access((dir + "/partition").constData(), F_OK) == 0) dir = dir.left(dir.lastIndexOf('/'));
    return readSmallFile(dir + "/removable") == "1";
}

DriveType driveTypeOf(const MountInfoLine& line, const DeviceFolders& folders) {
    const std::string_view type = view(line.fsType);
    if (kNetworkFileSystems.count(type)) return DriveType::Network;
    // Optical drives report removable too, so their file systems are tested first.
    if (type == "iso9660" || type == "udf") return DriveType::CdRom;
    if (type == "tmpfs" || type == "ramfs") return DriveType::RamDisk;
    if (isRemovableBlockDevice(backingDevice(line), folders.sysfs) ||
        isBelowRemovableMediaFolder(line.mountPoint))
        return DriveType::Removable;
    return DriveType::Fixed;
}

QString decodeLabelLinkName(const QByteArray& linkName) {
    QByteArray out;
    out.reserve(linkName.size());
    for (qsizetype i = 0; i < linkName.size(); ++i) {
        if (linkName[i] == '\\' && i + 3 < linkName.size() && linkName[i + 1] == 'x') {
            const int high = hexDigit(linkName[i + 2]), low = hexDigit(linkName[i + 3]);
            if (high >= 0 && low >= 0) {
                out.append(char(high * 16 + low));
                i += 3;
                continue;
            }
        }
        out.append(linkName[i]);
    }
    return QString::fromUtf8(out);
}

std::vector<Volume> volumesFromMountInfo(const QByteArray& mountInfoText,
                                         const DeviceFolders& folders) {
    const std::vector<MountInfoLine> lines = parseMountInfo(mountInfoText);
    std::map<QByteArray, std::vector<const MountInfoLine*>> byMountPoint;  // sorted by bytes
    for (const MountInfoLine& line : lines) byMountPoint[line.mountPoint].push_back(&line);

    std::vector<Volume> volumes;
    std::map<dev_t, QString> labels;
    bool labelsRead = false;
    for (const auto& [mountPoint, stack] : byMountPoint) {
        // What is hidden under a later mount is not reachable, so the visible mount decides.
        const MountInfoLine& line = *visibleMount(stack);
        if (!isOfferedMount(line)) continue;
        Volume v;
        v.mountPoint = line.mountPoint;
        v.source = line.source;
        v.fsType = line.fsType;
        v.type = driveTypeOf(line, folders);
        v.device = makedev(line.major, line.minor);
        if (v.type != DriveType::Network) {
            if (!labelsRead) {
                labels = readLabels(folders.labelLinks);
                labelsRead = true;
            }
            const auto found = labels.find(backingDevice(line));
            if (found != labels.end()) v.label = found->second;
        }
        volumes.push_back(std::move(v));
    }
    return volumes;
}

std::vector<Volume> mountedVolumes() { return volumesFromMountInfo(readMountInfo()); }

QByteArrayList allMountPoints() {
    QByteArrayList points;
    for (const MountInfoLine& line : parseMountInfo(readMountInfo())) points << line.mountPoint;
    return points;
}

const Volume* volumeOf(const QByteArray& path, const std::vector<Volume>& volumes) {
    const Volume* best = nullptr;
    for (const Volume& v : volumes) {
        if (!isAtOrBelow(path, v.mountPoint)) continue;
        if (!best || v.mountPoint.size() > best->mountPoint.size()) best = &v;
    }
    return best;
}

const Volume* currentVolume(const std::vector<Volume>& volumes) {
    // get_current_dir_name sizes its buffer to the path, however long.
    if (char* cwd = ::get_current_dir_name()) {
        const QByteArray here(cwd);
        ::free(cwd);
        if (const Volume* v = volumeOf(here, volumes)) return v;
    }
    for (const Volume& v : volumes)
        if (v.mountPoint == "/") return &v;
    return nullptr;
}

bool driveReady(const QByteArray& root) {
    struct statvfs st;
    return !root.isEmpty() && ::statvfs(root.constData(), &st) == 0;
}

bool driveSpace(const QByteArray& root, DriveSpace& out) {
    struct statvfs st;
    if (root.isEmpty() || ::statvfs(root.constData(), &st) != 0) return false;
    out.totalBytes = double(st.f_blocks) * double(st.f_frsize);
    out.freeBytes = double(st.f_bfree) * double(st.f_frsize);
    return true;
}

qint64 clusterSize(const QByteArray& root) {
    struct statvfs st;
    if (root.isEmpty() || ::statvfs(root.constData(), &st) != 0) return 0;
    return qint64(st.f_bsize);
}

bool isRemovablePath(const QByteArray& path) {
    // Callers test many paths in a row; the volume list is rebuilt only when the mount table
    // changes, and labels are not needed here.
    static std::mutex mutex;
    static QByteArray lastTable;
    static std::vector<Volume> volumes;
    const QByteArray table = readMountInfo();
    std::lock_guard<std::mutex> lock(mutex);
    if (table != lastTable || volumes.empty()) {
        volumes = volumesFromMountInfo(table, DeviceFolders{"/sys", QByteArray()});
        lastTable = table;
    }
    const Volume* v = volumeOf(path, volumes);
    return v && v->type == DriveType::Removable;
}

}  // namespace vastel
