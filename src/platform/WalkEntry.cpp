#include "platform/WalkEntry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <cstring>

namespace vastel {

bool statWalkEntry(int dirfd, const char* name, qsizetype length, DirEntry& out,
                   LocalStamps& stamps, bool accessOnly) {
    struct statx sx;
    // As statEntry: network file systems may answer from their cache, and looking at a folder
    // must not mount what lies below it.
    constexpr int kFlags = AT_SYMLINK_NOFOLLOW | AT_STATX_DONT_SYNC | AT_NO_AUTOMOUNT;
    constexpr unsigned kMask = STATX_TYPE | STATX_MODE | STATX_NLINK | STATX_INO | STATX_SIZE |
                               STATX_ATIME | STATX_MTIME | STATX_BTIME;
    constexpr unsigned kAccessMask =
        STATX_TYPE | STATX_MODE | STATX_NLINK | STATX_INO | STATX_SIZE | STATX_ATIME;
    if (::statx(dirfd, name, kFlags, accessOnly ? kAccessMask : kMask, &sx) != 0) return false;
    if (accessOnly) {
        out.name.resize(length);
        std::memcpy(out.name.data(), name, size_t(length));
        out.mode = sx.stx_mode;
        out.size = qint64(sx.stx_size);
        out.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
        out.inode = sx.stx_ino;
        out.links = sx.stx_nlink;
        out.attributes = attributesOf(out.name, out.mode);
        out.lastAccess = stamps.pack(time_t(sx.stx_atime.tv_sec));
        out.lastAccessTime = qint64(sx.stx_atime.tv_sec);
        out.lastWrite = out.creation = 0;
        out.lastWriteTime = out.creationTime = 0;
        out.hasCreation = false;
        return true;
    }
    stamps.prefetch(time_t(sx.stx_mtime.tv_sec));
    stamps.prefetch(time_t(sx.stx_atime.tv_sec));
    // resize + memcpy reuses the name's buffer from one entry to the next.
    out.name.resize(length);
    std::memcpy(out.name.data(), name, size_t(length));
    out.mode = sx.stx_mode;
    out.size = qint64(sx.stx_size);
    out.device = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    out.inode = sx.stx_ino;
    out.links = sx.stx_nlink;
    out.attributes = attributesOf(out.name, out.mode);
    out.lastWrite = stamps.pack(time_t(sx.stx_mtime.tv_sec));
    out.lastAccess = stamps.pack(time_t(sx.stx_atime.tv_sec));
    out.hasCreation = (sx.stx_mask & STATX_BTIME) != 0;
    out.creation = out.hasCreation ? stamps.pack(time_t(sx.stx_btime.tv_sec)) : 0;
    out.lastWriteTime = qint64(sx.stx_mtime.tv_sec);
    out.lastAccessTime = qint64(sx.stx_atime.tv_sec);
    out.creationTime = out.hasCreation ? qint64(sx.stx_btime.tv_sec) : 0;
    return true;
}

}  // namespace vastel
