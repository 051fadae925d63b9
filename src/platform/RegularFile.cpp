#include "platform/RegularFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vastel {

bool keepRegularFile(int fd, struct stat& st, int folderError) {
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        errno = S_ISDIR(st.st_mode) ? folderError : EINVAL;
        return false;
    }
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return true;
}

}  // namespace vastel
