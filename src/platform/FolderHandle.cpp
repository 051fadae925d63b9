#include "platform/FolderHandle.h"

#include "platform/RegularFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vastel {

namespace {

bool isDotName(const QByteArray& name) { return name == "." || name == ".."; }

// A name must stay within its folder: no separators, no "." or "..".
bool isPlainName(const QByteArray& name) {
    return !name.isEmpty() && !name.contains('/') && !isDotName(name);
}

}  // namespace

FolderHandle::~FolderHandle() {
    if (fd_ >= 0) ::close(fd_);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FolderHandle FolderHandle::open(const QByteArray& path) {
    if (path.isEmpty()) {
        errno = ENOENT;
        return {};
    }
    return FolderHandle(::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

FolderHandle FolderHandle::openChild(const QByteArray& name) const {
    if (fd_ < 0 || !isPlainName(name)) {
        errno = EINVAL;
        return {};
    }
    return FolderHandle(
        ::openat(fd_, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

bool FolderHandle::stat(DirEntry& out) const {
    if (fd_ < 0) return false;
    if (!statEntry(fd_, ".", out)) return false;
    out.name.clear();
    return true;
}

bool FolderHandle::statChild(const QByteArray& name, DirEntry& out) const {
    if (fd_ < 0 || !isPlainName(name)) {
        errno = EINVAL;
        return false;
    }
    return statEntry(fd_, name.constData(), out);
}

std::vector<DirEntry> FolderHandle::list(bool* ok) const {
    // The listing takes its descriptor over, so it gets a duplicate of ours.
    const int copy = fd_ >= 0 ? ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
    return listOpenDirectory(copy, ok);
}

bool FolderHandle::openFile(const QByteArray& name, OpenedFile& out) const {
    if (fd_ < 0 || !isPlainName(name)) {
        errno = EINVAL;
        return false;
    }
    // O_NONBLOCK: opening a FIFO that was swapped in must not hang; it is refused below.
    const int fd =
        ::openat(fd_, name.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    struct stat st;
    if (!keepRegularFile(fd, st, EINVAL)) return false;
    out.fd = fd;
    out.identity = FileIdentity{st.st_dev, st.st_ino};
    out.size = qint64(st.st_size);
    out.mtime = qint64(st.st_mtim.tv_sec);
    out.mode = quint32(st.st_mode);
    return true;
}

RemoveResult FolderHandle::removeEntry(const QByteArray& name, bool regularOnly,
                                       const FileIdentity* expected) const {
    if (fd_ < 0 || !isPlainName(name)) {
        errno = EINVAL;
        return isDotName(name) ? RemoveResult::NotRegular : RemoveResult::Failed;
    }
    // Checked right before the unlink. unlinkat without AT_REMOVEDIR never removes a folder,
    // and on a link it removes the link, never what it points to.
    struct stat st;
    if (::fstatat(fd_, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return RemoveResult::Failed;
    if (S_ISDIR(st.st_mode) || (regularOnly && !S_ISREG(st.st_mode)))
        return RemoveResult::NotRegular;
    if (expected && (st.st_dev != expected->device || st.st_ino != expected->inode))
        return RemoveResult::Changed;
    if (::unlinkat(fd_, name.constData(), 0) != 0) return RemoveResult::Failed;
    return RemoveResult::Removed;
}

bool FolderHandle::removeFolder(const QByteArray& name) const {
    if (fd_ < 0 || !isPlainName(name)) {
        errno = EINVAL;
        return false;
    }
    return ::unlinkat(fd_, name.constData(), AT_REMOVEDIR) == 0;
}

bool FolderHandle::addOwnerWrite(const QByteArray& name) const {
    if (fd_ < 0 || !isPlainName(name)) {
        errno = EINVAL;
        return false;
    }
    struct stat st;
    if (::fstatat(fd_, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) return false;
    if (S_ISLNK(st.st_mode)) {
        errno = ELOOP;
        return false;
    }
    if (st.st_mode & S_IWUSR) return true;
    return ::fchmodat(fd_, name.constData(), (st.st_mode & 07777) | S_IWUSR, 0) == 0;
}

}  // namespace vastel
