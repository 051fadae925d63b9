#include "removal/ArchiveFileSource.h"

#include "platform/FileRemoval.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <vector>

namespace vastel {

namespace {

// Repeats a positioned read or write until all length bytes went through. A call that moves
// no byte at all fails with noProgressError.
template <typename Byte, typename Transfer>
bool transferAllAt(Transfer transfer, int fd, Byte* data, zip_uint64_t length, zip_uint64_t offset,
                   int noProgressError) {
    while (length > 0) {
        const ssize_t n =
            transfer(fd, data, size_t(std::min<zip_uint64_t>(length, 1 << 30)), off_t(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = noProgressError;
            return false;
        }
        data += n;
        length -= zip_uint64_t(n);
        offset += zip_uint64_t(n);
    }
    return true;
}

bool writeAllAt(int fd, const char* data, zip_uint64_t length, zip_uint64_t offset) {
    return transferAllAt(::pwrite, fd, data, length, offset, ENOSPC);
}

bool readAllAt(int fd, char* data, zip_uint64_t length, zip_uint64_t offset) {
    return transferAllAt(::pread, fd, data, length, offset, EIO);
}

constexpr zip_uint64_t kCopyChunk = 8 << 20;

// Copies length bytes from one file to another, in the kernel where it can, calling keepAlive
// between chunks.
bool copyRange(int from, zip_uint64_t fromOffset, int to, zip_uint64_t toOffset,
               zip_uint64_t length, const std::function<void()>& keepAlive) {
    while (length > 0) {
        off_t in = off_t(fromOffset);
        off_t out = off_t(toOffset);
        const ssize_t n = ::copy_file_range(from, &in, to, &out,
                                            size_t(std::min<zip_uint64_t>(length, kCopyChunk)), 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        fromOffset += zip_uint64_t(n);
        toOffset += zip_uint64_t(n);
        length -= zip_uint64_t(n);
        if (keepAlive && length > 0) keepAlive();
    }
    std::vector<char> buffer(1 << 20);
    zip_uint64_t sinceKeepAlive = 0;
    while (length > 0) {
        const zip_uint64_t chunk = std::min<zip_uint64_t>(length, buffer.size());
        if (!readAllAt(from, buffer.data(), chunk, fromOffset)) return false;
        if (!writeAllAt(to, buffer.data(), chunk, toOffset)) return false;
        fromOffset += chunk;
        toOffset += chunk;
        length -= chunk;
        sinceKeepAlive += chunk;
        if (keepAlive && length > 0 && sinceKeepAlive >= kCopyChunk) {
            keepAlive();
            sinceKeepAlive = 0;
        }
    }
    return true;
}

mode_t fileModeForUmask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

}  // namespace

zip_source_t* ArchiveFileSource::create(const QByteArray& path, zip_error_t* error,
                                        std::function<void()> keepAlive) {
    return adopt(new ArchiveFileSource(path, std::move(keepAlive)), error);
}

ArchiveFileSource::ArchiveFileSource(const QByteArray& path, std::function<void()> keepAlive)
    : path_(path), keepAlive_(std::move(keepAlive)) {}

ArchiveFileSource::~ArchiveFileSource() {
    if (readFd_ >= 0) ::close(readFd_);
    dropTemporary();
}

zip_int64_t ArchiveFileSource::run(void* data, zip_uint64_t length, zip_source_cmd_t cmd) {
    switch (cmd) {
        case ZIP_SOURCE_SUPPORTS:
            return zip_source_make_command_bitmap(
                ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL,
                ZIP_SOURCE_SUPPORTS, ZIP_SOURCE_BEGIN_WRITE, ZIP_SOURCE_BEGIN_WRITE_CLONING,
                ZIP_SOURCE_COMMIT_WRITE, ZIP_SOURCE_ROLLBACK_WRITE, ZIP_SOURCE_WRITE,
                ZIP_SOURCE_SEEK_WRITE, ZIP_SOURCE_TELL_WRITE, ZIP_SOURCE_REMOVE,
                ZIP_SOURCE_ACCEPT_EMPTY, -1);
        case ZIP_SOURCE_ACCEPT_EMPTY:
            return 0;  // an empty file is no archive
        case ZIP_SOURCE_STAT:
            return stat(data, length);
        case ZIP_SOURCE_OPEN:
            return openRead();
        case ZIP_SOURCE_READ:
            return read(data, length);
        case ZIP_SOURCE_SEEK: {
            const zip_int64_t to =
                zip_source_seek_compute_offset(readPos_, readSize_, data, length, &error_);
            if (to < 0) return -1;
            readPos_ = zip_uint64_t(to);
            return 0;
        }
        case ZIP_SOURCE_TELL:
            return zip_int64_t(readPos_);
        case ZIP_SOURCE_CLOSE:
            if (readFd_ >= 0) ::close(readFd_);
            readFd_ = -1;
            return 0;
        case ZIP_SOURCE_BEGIN_WRITE:
            return beginWrite(false, 0);
        case ZIP_SOURCE_BEGIN_WRITE_CLONING:
            return beginWrite(true, length);
        case ZIP_SOURCE_WRITE:
            return write(data, length);
        case ZIP_SOURCE_SEEK_WRITE: {
            const zip_int64_t to =
                zip_source_seek_compute_offset(writePos_, writeEnd_, data, length, &error_);
            if (to < 0) return -1;
            if (zip_uint64_t(to) < keep_) return fail(ZIP_ER_SEEK, EINVAL);
            writePos_ = zip_uint64_t(to);
            return 0;
        }
        case ZIP_SOURCE_TELL_WRITE:
            return zip_int64_t(writePos_);
        case ZIP_SOURCE_COMMIT_WRITE:
            return commit();
        case ZIP_SOURCE_ROLLBACK_WRITE:
            dropTemporary();
            return 0;
        case ZIP_SOURCE_REMOVE:
            if (::unlink(path_.constData()) != 0) return fail(ZIP_ER_REMOVE, errno);
            return 0;
        default:
            return fail(ZIP_ER_OPNOTSUPP, 0);
    }
}

zip_int64_t ArchiveFileSource::stat(void* data, zip_uint64_t length) {
    zip_stat_t* out = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &error_);
    if (!out) return -1;
    struct stat st;
    // libzip reads "read error, ENOENT" as "no archive yet", which ZIP_CREATE then makes.
    if (::lstat(path_.constData(), &st) != 0) return fail(ZIP_ER_READ, errno);
    if (!S_ISREG(st.st_mode)) return fail(ZIP_ER_OPEN, S_ISLNK(st.st_mode) ? ELOOP : EISDIR);
    zip_stat_init(out);
    out->size = zip_uint64_t(st.st_size);
    out->mtime = st.st_mtim.tv_sec;
    out->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
    return sizeof(zip_stat_t);
}

zip_int64_t ArchiveFileSource::openRead() {
    if (readFd_ >= 0) ::close(readFd_);
    readFd_ = ::open(path_.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (readFd_ < 0) return fail(ZIP_ER_OPEN, errno);
    struct stat st;
    if (::fstat(readFd_, &st) != 0) return fail(ZIP_ER_READ, errno);
    readSize_ = zip_uint64_t(st.st_size);
    readPos_ = 0;
    return 0;
}

zip_int64_t ArchiveFileSource::read(void* data, zip_uint64_t length) {
    if (readFd_ < 0) return fail(ZIP_ER_INTERNAL, 0);
    zip_uint64_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pread(readFd_, static_cast<char*>(data) + done,
                    size_t(std::min<zip_uint64_t>(length - done, 1 << 30)), off_t(readPos_ + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(ZIP_ER_READ, errno);
        if (n == 0) break;
        done += zip_uint64_t(n);
    }
    readPos_ += done;
    return zip_int64_t(done);
}

zip_int64_t ArchiveFileSource::beginWrite(bool cloning, zip_uint64_t keep) {
    dropTemporary();
    struct stat st;
    existed_ = ::lstat(path_.constData(), &st) == 0;
    if (cloning && (!existed_ || !S_ISREG(st.st_mode) || zip_uint64_t(st.st_size) < keep))
        return fail(ZIP_ER_CHANGED, 0);
    QByteArray folder, name;
    splitPath(path_, folder, name);
    QByteArray pattern = folder + "/." + name + ".XXXXXX";
    tempFd_ = ::mkostemp(pattern.data(), O_CLOEXEC);
    if (tempFd_ < 0) return fail(ZIP_ER_TMPOPEN, errno);
    tempPath_ = pattern;
    cloning_ = cloning;
    keep_ = cloning ? keep : 0;
    writePos_ = writeEnd_ = keep_;
    return 0;
}

zip_int64_t ArchiveFileSource::write(const void* data, zip_uint64_t length) {
    if (tempFd_ < 0 || writePos_ < keep_) return fail(ZIP_ER_INTERNAL, 0);
    if (!writeAllAt(tempFd_, static_cast<const char*>(data), length, writePos_ - keep_))
        return fail(ZIP_ER_WRITE, errno);
    writePos_ += length;
    writeEnd_ = std::max(writeEnd_, writePos_);
    return zip_int64_t(length);
}

zip_int64_t ArchiveFileSource::commit() {
    if (tempFd_ < 0) return fail(ZIP_ER_INTERNAL, 0);
    if (cloning_) return commitInPlace();
    const bool modeSet = ::fchmod(tempFd_, fileModeForUmask()) == 0;
    int error = errno;
    const bool closed = ::close(tempFd_) == 0;
    if (!closed) error = errno;
    tempFd_ = -1;
    if (!modeSet || !closed) {
        dropTemporary();
        return fail(ZIP_ER_WRITE, error);
    }
    // A new archive never replaces a file that appeared under its name in the meantime.
    const int renamed = existed_ ? ::rename(tempPath_.constData(), path_.constData())
                                 : ::renameat2(AT_FDCWD, tempPath_.constData(), AT_FDCWD,
                                               path_.constData(), RENAME_NOREPLACE);
    if (renamed != 0) {
        error = errno;
        dropTemporary();
        return fail(ZIP_ER_RENAME, error);
    }
    tempPath_.clear();
    return 0;
}

zip_int64_t ArchiveFileSource::commitInPlace() {
    const int fd = ::open(path_.constData(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        dropTemporary();
        return fail(ZIP_ER_OPEN, error);
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || zip_uint64_t(st.st_size) < keep_) {
        ::close(fd);
        dropTemporary();
        return fail(ZIP_ER_CHANGED, 0);
    }
    // The old central directory is kept in memory so that a failed copy can be undone.
    const zip_uint64_t oldSize = zip_uint64_t(st.st_size);
    std::vector<char> oldTail(oldSize - keep_);
    if (!readAllAt(fd, oldTail.data(), oldTail.size(), keep_)) {
        const int error = errno;
        ::close(fd);
        dropTemporary();
        return fail(ZIP_ER_READ, error);
    }
    const zip_uint64_t added = writeEnd_ - keep_;
    bool done = copyRange(tempFd_, 0, fd, keep_, added, keepAlive_) &&
                ::ftruncate(fd, off_t(writeEnd_)) == 0;
    const int error = errno;
    if (!done) {
        writeAllAt(fd, oldTail.data(), oldTail.size(), keep_);
        (void)::ftruncate(fd, off_t(oldSize));
    }
    if (::close(fd) != 0 && done) done = false;
    dropTemporary();
    if (!done) return fail(ZIP_ER_WRITE, error ? error : EIO);
    return 0;
}

void ArchiveFileSource::dropTemporary() {
    if (tempFd_ >= 0) ::close(tempFd_);
    tempFd_ = -1;
    if (!tempPath_.isEmpty()) ::unlink(tempPath_.constData());
    tempPath_.clear();
    cloning_ = false;
    keep_ = 0;
    writePos_ = writeEnd_ = 0;
}

}  // namespace vastel
