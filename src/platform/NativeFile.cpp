#include "platform/NativeFile.h"

#include "platform/RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vastel {

bool openNativeForReading(QFile& file, const QByteArray& path) {
    if (path.isEmpty()) {
        errno = ENOENT;
        return false;
    }
    // O_NONBLOCK keeps a FIFO without writer from hanging the open; it is irrelevant for the
    // regular files that pass the check below.
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return false;
    struct stat st;
    if (!keepRegularFile(fd, st, EISDIR)) return false;
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        errno = EIO;
        return false;
    }
    return true;
}

bool openNativeForWriting(QFile& file, const QByteArray& path) {
    if (path.isEmpty()) {
        errno = ENOENT;
        return false;
    }
    const int fd =
        ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return false;
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        errno = EIO;
        return false;
    }
    return true;
}

}  // namespace vastel
