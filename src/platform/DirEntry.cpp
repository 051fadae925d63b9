#include "platform/DirEntry.h"

#include "platform/PackedStamp.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vastel {

namespace {

// The entry's own name: the last component of what was asked for.
void setOwnName(QByteArray& out, const char* name) {
    size_t len = std::strlen(name);
    while (len > 1 && name[len - 1] == '/') --len;
    size_t start = len;
    while (start > 0 && name[start - 1] != '/') --start;
    if (start == len && len > 0) start = len - 1;  // "/" itself
    // resize + memcpy reuses the buffer when the caller reuses one DirEntry.
    out.resize(qsizetype(len - start));
    std::memcpy(out.data(), name + start, len - start);
}

}  // namespace

bool DirEntry::isDirectory() const { return S_ISDIR(mode); }
bool DirEntry::isRegular() const { return S_ISREG(mode); }
bool DirEntry::isSymlink() const { return S_ISLNK(mode); }

quint32 attributesOf(const QByteArray& name, mode_t mode) {
    quint32 a = 0;
    if (!(mode & S_IWUSR)) a |= faReadOnly;
    if (name.startsWith('.') && name != "." && name != "..") a |= faHidden;
    if (S_ISCHR(mode) || S_ISBLK(mode) || S_ISFIFO(mode) || S_ISSOCK(mode)) a |= faSysFile;
    if (S_ISDIR(mode)) a |= faDirectory;
    return a;
}

bool statEntry(int dirfd, const char* name, DirEntry& out) {
    struct statx sx;
    // DONT_SYNC: network file systems may answer from their cache; NO_AUTOMOUNT: listing a
    // folder must not mount what lies below it.
    constexpr int kFlags = AT_SYMLINK_NOFOLLOW | AT_STATX_DONT_SYNC | AT_NO_AUTOMOUNT;
    constexpr unsigned kMask = STATX_TYPE | STATX_MODE | STATX_NLINK | STATX_INO | STATX_SIZE |
                               STATX_ATIME | STATX_MTIME | STATX_BTIME;
    if (::statx(dirfd, name, kFlags, kMask, &sx) != 0) return false;
    setOwnName(out.name, name);
    out.mode = sx.stx_mode;
    out.size = qint64(sx.stx_size);
    out.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    out.inode = sx.stx_ino;
    out.links = sx.stx_nlink;
    out.attributes = attributesOf(out.name, out.mode);
    out.lastWrite = packDosStamp(time_t(sx.stx_mtime.tv_sec));
    out.lastAccess = packDosStamp(time_t(sx.stx_atime.tv_sec));
    out.creation = (sx.stx_mask & STATX_BTIME) ? packDosStamp(time_t(sx.stx_btime.tv_sec)) : 0;
    return true;
}

bool statPath(const QByteArray& path, DirEntry& out) {
    if (path.isEmpty()) {
        errno = ENOENT;
        return false;
    }
    return statEntry(AT_FDCWD, path.constData(), out);
}

std::vector<DirEntry> listOpenDirectory(int fd, bool* ok) {
    std::vector<DirEntry> entries;
    DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
    if (!dir) {
        if (fd >= 0) ::close(fd);
        if (ok) *ok = false;
        return entries;
    }
    for (;;) {
        errno = 0;
        const dirent* e = ::readdir(dir);
        if (!e) break;
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0))) continue;
        DirEntry entry;
        // An entry removed between readdir and statx is simply not listed.
        if (statEntry(::dirfd(dir), n, entry)) entries.push_back(std::move(entry));
    }
    // readdir leaves errno set when the listing broke off (an I/O error) rather than ended.
    const bool complete = errno == 0;
    ::closedir(dir);
    if (ok) *ok = complete;
    return entries;
}

std::vector<DirEntry> listDirectory(const QByteArray& folder, bool* ok) {
    const int fd = folder.isEmpty()
                       ? -1
                       : ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY);
    return listOpenDirectory(fd, ok);
}

}  // namespace vastel
