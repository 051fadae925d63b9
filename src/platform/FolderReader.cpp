#include "platform/FolderReader.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vastel {

namespace {

// The record that getdents64 fills; glibc 2.36 has no public declaration for it.
struct LinuxDirent64 {
    ino64_t d_ino;
    off64_t d_off;
    unsigned short d_reclen;
    unsigned char d_type;
    char d_name[];
};

// Large enough for a few hundred entries per system call.
constexpr long kBufferSize = 32 * 1024;

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY;

}  // namespace

FolderReader::FolderReader() : buffer_(new char[kBufferSize]) {}

FolderReader::~FolderReader() { delete[] buffer_; }

void FolderReader::start(int fd) {
    fd_ = fd;
    filled_ = position_ = 0;
    ended_ = fd < 0;
    failed_ = fd < 0;
}

bool FolderReader::next(Entry& out) {
    while (position_ >= filled_) {
        if (ended_) return false;
        const long n = ::syscall(SYS_getdents64, fd_, buffer_, kBufferSize);
        if (n <= 0) {
            // A folder removed while it is read ends its listing (ENOENT), like an empty one.
            failed_ = n < 0 && errno != ENOENT;
            ended_ = true;
            return false;
        }
        filled_ = n;
        position_ = 0;
    }
    const auto* d = reinterpret_cast<const LinuxDirent64*>(buffer_ + position_);
    position_ += d->d_reclen;
    out.name = d->d_name;
    out.length = qsizetype(std::strlen(d->d_name));
    out.type = d->d_type == DT_UNKNOWN ? 0 : DTTOIF(d->d_type);
    out.inode = ino_t(d->d_ino);
    return true;
}

int openRootFolder(const QByteArray& path) {
    if (path.isEmpty()) {
        errno = ENOENT;
        return -1;
    }
    return ::open(path.constData(), kFolderFlags);
}

bool folderSearchable(const QByteArray& path) {
    struct stat st;
    return !path.isEmpty() && ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(path.constData(), X_OK) == 0;
}

bool isMountRoot(const QByteArray& path) {
    struct statx sx;
    if (path.isEmpty() || ::statx(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT,
                                  STATX_TYPE, &sx) != 0)
        return false;
    // Kernels before 5.8 do not report mount roots; "/" is one on every system.
    if (sx.stx_attributes_mask & STATX_ATTR_MOUNT_ROOT)
        return (sx.stx_attributes & STATX_ATTR_MOUNT_ROOT) != 0;
    return path == "/";
}

int openFolderAt(int dirfd, const char* relative) {
    return ::openat(dirfd, relative, kFolderFlags | O_NOFOLLOW);
}

bool folderIdentity(int fd, dev_t& device, ino_t& inode) {
    struct stat st;
    if (::fstat(fd, &st) != 0) return false;
    device = st.st_dev;
    inode = st.st_ino;
    return true;
}

void closeFolder(int fd) {
    if (fd >= 0) ::close(fd);
}

}  // namespace vastel
