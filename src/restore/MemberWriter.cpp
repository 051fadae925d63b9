#include "restore/MemberWriter.h"

#include "core/Utility.h"
#include "platform/Trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QRandomGenerator>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vastel {

namespace {

// Holes are made in whole blocks of this size; smaller zero runs are written.
constexpr qint64 kHoleBlock = 64 * 1024;

bool allZero(const char* data, qint64 length) {
    return length > 0 && data[0] == 0 && std::memcmp(data, data + 1, size_t(length - 1)) == 0;
}

// The mask that new files get; read once (umask can only be read by setting it).
mode_t creationMask() {
    static const mode_t mask = [] {
        const mode_t m = ::umask(022);
        ::umask(m);
        return m;
    }();
    return mask;
}

bool writeAll(int fd, const char* data, qint64 length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, data, size_t(length));
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        length -= n;
    }
    return true;
}

}  // namespace

MemberWriter::MemberWriter(const QByteArray& destination)
    : destination_(destination), root_(FolderHandle::open(destination)) {
    if (!root_.isOpen()) rootError_ = errno;
    (void)creationMask();
}

QByteArray MemberWriter::pathOf(const QByteArray& fileName) const {
    QByteArray path = destination_;
    for (const QByteArray& folder : currentFolders_) path = joinPath(path, folder);
    return joinPath(path, fileName);
}

bool MemberWriter::openFolders(const QByteArrayList& folders) {
    if (folders == currentFolders_ && (folders.isEmpty() || current_.isOpen())) return true;
    currentFolders_.clear();
    current_ = FolderHandle();
    FolderHandle at;
    for (const QByteArray& name : folders) {
        const FolderHandle& parent = at.isOpen() ? at : root_;
        FolderHandle next = parent.openChild(name);
        if (!next.isOpen() && errno == ENOENT) {
            // Made here, then opened without following links like any other folder.
            if (::mkdirat(parent.fd(), name.constData(), 0777) != 0 && errno != EEXIST)
                return false;
            next = parent.openChild(name);
        }
        if (!next.isOpen()) {
            // A link is told apart from a file in its place: it would lead elsewhere.
            const int error = errno;
            DirEntry entry;
            errno = statEntry(parent.fd(), name.constData(), entry) && entry.isSymlink() ? ELOOP
                                                                                         : error;
            return false;
        }
        at = std::move(next);
    }
    current_ = std::move(at);
    currentFolders_ = folders;
    return true;
}

bool MemberWriter::begin(const QByteArray& fileName) {
    discard();
    if (fileName.size() > 255) {
        errno = ENAMETOOLONG;
        return false;
    }
    fileName_ = fileName;
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempName_ = ".vastel-restore-" +
                    QByteArray::number(QRandomGenerator::global()->generate64(), 36) + ".part";
        fd_ = ::openat(folderFd(), tempName_.constData(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd_ >= 0 || errno != EEXIST) break;
    }
    if (fd_ < 0) {
        tempName_.clear();
        return false;
    }
    written_ = 0;
    pendingHole_ = false;
    return true;
}

bool MemberWriter::write(const char* data, qint64 length) {
    while (length > 0) {
        // Keep to block boundaries of the file, so that holes line up with its blocks.
        const qint64 inBlock = kHoleBlock - written_ % kHoleBlock;
        const qint64 piece = std::min(length, inBlock);
        if (piece == kHoleBlock && allZero(data, piece)) {
            pendingHole_ = true;
        } else {
            if (!flushHole() || !writeAll(fd_, data, piece)) return false;
        }
        written_ += piece;
        data += piece;
        length -= piece;
    }
    return true;
}

bool MemberWriter::flushHole() {
    if (!pendingHole_) return true;
    pendingHole_ = false;
    return ::lseek(fd_, written_, SEEK_SET) == written_;
}

bool MemberWriter::commit(time_t mtime, int mode) {
    const auto fail = [this] {
        const int saved = errno;
        discard();
        errno = saved;
        return false;
    };
    if (fd_ < 0) {
        errno = EBADF;
        return false;
    }
    // A trailing hole needs the size set; a file written to the end already has it.
    if (pendingHole_ && ::ftruncate(fd_, written_) != 0) return fail();
    pendingHole_ = false;
    const mode_t finalMode = mode >= 0 ? mode_t(mode & 0777) : (0666 & ~creationMask());
    if (::fchmod(fd_, finalMode) != 0) return fail();
    const struct timespec times[2] = {{0, UTIME_OMIT}, {mtime, 0}};
    if (mtime > 0 && ::futimens(fd_, times) != 0) return fail();

    DirEntry existing;
    const bool replaces = statEntry(folderFd(), fileName_.constData(), existing);
    if (!replaces && errno != ENOENT) return fail();
    if (replaces) {
        if (existing.isDirectory()) {
            errno = EISDIR;
            return fail();
        }
        // The old file goes only once the new one is safely on disk.
        if (::fsync(fd_) != 0) return fail();
    }
    if (::close(fd_) != 0) {
        fd_ = -1;
        return fail();
    }
    fd_ = -1;
    if (replaces && !moveToTrash(pathOf(fileName_))) return fail();
    if (!putInPlace()) return fail();
    tempName_.clear();
    return true;
}

// Renames the temporary file to its name without replacing anything that appeared there.
bool MemberWriter::putInPlace() {
    const int dir = folderFd();
    if (::renameat2(dir, tempName_.constData(), dir, fileName_.constData(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // File systems without the flag: a hard link also refuses an existing name.
    if (::linkat(dir, tempName_.constData(), dir, fileName_.constData(), 0) == 0) {
        ::unlinkat(dir, tempName_.constData(), 0);
        return true;
    }
    return false;
}

void MemberWriter::discard() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!tempName_.isEmpty()) ::unlinkat(folderFd(), tempName_.constData(), 0);
    tempName_.clear();
}

}  // namespace vastel
