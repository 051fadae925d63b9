#include "platform/Trash.h"

#include "platform/FileRemoval.h"
#include "platform/NativePath.h"
#include "platform/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace vastel {

namespace {

TrashTopFinder& topFinderOverride() {
    static TrashTopFinder finder;
    return finder;
}

QByteArray joined(const QByteArray& folder, const QByteArray& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QByteArray parentOf(const QByteArray& path) {
    QByteArray folder, name;
    splitPath(path, folder, name);
    return folder;
}

// The real path of a folder, links resolved.
QByteArray realFolder(const QByteArray& folder) {
    char* resolved = ::realpath(folder.constData(), nullptr);
    if (!resolved) return {};
    QByteArray out(resolved);
    ::free(resolved);
    return out;
}

// The highest folder above realFolder that is still on the same device: the mount's top.
QByteArray mountTop(const QByteArray& folder, dev_t device) {
    QByteArray top = folder;
    while (top != "/") {
        const QByteArray up = parentOf(top);
        struct stat st;
        if (::stat(up.constData(), &st) != 0 || st.st_dev != device) break;
        top = up;
    }
    return top;
}

// The device of a path, or of its nearest existing parent when it does not exist yet.
bool deviceOfNearest(QByteArray path, dev_t& device) {
    for (;;) {
        struct stat st;
        if (::stat(path.constData(), &st) == 0) {
            device = st.st_dev;
            return true;
        }
        if (path == "/" || path.isEmpty()) return false;
        path = parentOf(path);
    }
}

// mkdir -p; folders made here are private to the user.
bool makeFolders(const QByteArray& path) {
    for (qsizetype i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        const QByteArray part = path.left(i);
        if (::mkdir(part.constData(), 0700) != 0 && errno != EEXIST) return false;
    }
    struct stat st;
    if (::stat(path.constData(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

// A folder of the user's own, made when missing; never a link, never someone else's.
bool ownFolder(const QByteArray& path) {
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return false;
    struct stat st;
    if (::lstat(path.constData(), &st) != 0) return false;
    if (!S_ISDIR(st.st_mode) || st.st_uid != ::getuid()) {
        errno = EACCES;
        return false;
    }
    return true;
}

bool hasTrashSubfolders(const QByteArray& trash) {
    return ownFolder(trash + "/files") && ownFolder(trash + "/info");
}

// The trash of a volume other than the home's: $top/.Trash/$uid when $top/.Trash is a sticky
// folder and no link, else $top/.Trash-$uid.
QByteArray volumeTrash(const QByteArray& top) {
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    const QByteArray shared = joined(top, ".Trash");
    struct stat st;
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const QByteArray mine = joined(shared, uid);
        if (ownFolder(mine) && hasTrashSubfolders(mine)) return mine;
    }
    const QByteArray own = joined(top, ".Trash-" + uid);
    if (ownFolder(own) && hasTrashSubfolders(own)) return own;
    return {};
}

// A name for the file inside the trash: the original name, then "name.2.ext", "name.3.ext"...
// kept short enough for "<name>.trashinfo" to be a valid file name.
QByteArray trashName(const QByteArray& name, int attempt) {
    constexpr qsizetype kLimit = NAME_MAX - qsizetype(sizeof(".trashinfo") - 1);
    QByteArray stem = name;
    QByteArray extension;
    if (attempt > 1) {
        const qsizetype dot = name.lastIndexOf('.');
        if (dot > 0) {
            stem = name.left(dot);
            extension = name.mid(dot);
        }
        extension = '.' + QByteArray::number(attempt) + extension;
    }
    if (extension.size() >= kLimit) extension = '.' + QByteArray::number(attempt);
    if (stem.size() + extension.size() > kLimit) stem.truncate(kLimit - extension.size());
    return stem + extension;
}

bool writeAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

// One attempt with one trash: claims a name with its .trashinfo, then renames the file.
bool trashInto(const QByteArray& trash, const QByteArray& path, const QByteArray& original,
               TrashedFile* result) {
    QByteArray folder, name;
    splitPath(path, folder, name);
    const QByteArray info = trashInfoText(original, ::time(nullptr));
    for (int attempt = 1; attempt < 100000; ++attempt) {
        const QByteArray candidate = trashName(name, attempt);
        const QByteArray filesPath = trash + "/files/" + candidate;
        const QByteArray infoPath = trash + "/info/" + candidate + ".trashinfo";
        struct stat st;
        if (::lstat(filesPath.constData(), &st) == 0) continue;
        const int fd = ::open(infoPath.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return false;
        }
        const bool written = writeAll(fd, info);
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            ::unlink(infoPath.constData());
            errno = written ? EIO : writeError;
            return false;
        }
        // NOREPLACE: a file that appeared under the chosen name meanwhile is never overwritten.
        if (::renameat2(AT_FDCWD, path.constData(), AT_FDCWD, filesPath.constData(),
                        RENAME_NOREPLACE) == 0) {
            if (result) *result = TrashedFile{trash, filesPath, infoPath};
            return true;
        }
        const int renameError = errno;
        ::unlink(infoPath.constData());
        errno = renameError;
        if (renameError == EEXIST) continue;
        return false;
    }
    errno = EEXIST;
    return false;
}

}  // namespace

void setTrashTopFinder(TrashTopFinder finder) { topFinderOverride() = std::move(finder); }

QByteArray trashInfoText(const QByteArray& originalPath, time_t deletionTime) {
    char stamp[32] = {};
    struct tm local;
    ::localtime_r(&deletionTime, &local);
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
    return QByteArrayLiteral("[Trash Info]\nPath=") + originalPath.toPercentEncoding("/") +
           QByteArrayLiteral("\nDeletionDate=") + QByteArray(stamp) + '\n';
}

bool moveToTrash(const QByteArray& path, TrashedFile* result) {
    QByteArray folder, name;
    splitPath(path, folder, name);
    if (!path.startsWith('/') || name.isEmpty() || name == "." || name == "..") {
        errno = EINVAL;
        return false;
    }
    struct stat st;
    if (::lstat(path.constData(), &st) != 0) return false;
    const QByteArray real = realFolder(folder);
    if (real.isEmpty()) return false;
    const QByteArray original = joined(real, name);

    // Files on the data home's file system go to the home trash, made here when missing
    // (also the data home itself), so the result never depends on the current folder.
    const TrashTopFinder& finder = topFinderOverride();
    QByteArray top;
    bool sameDeviceAsHome = false;
    if (finder) {
        top = finder(real, st.st_dev);
    } else {
        dev_t homeDevice = 0;
        sameDeviceAsHome =
            deviceOfNearest(nativePath(dataHome()), homeDevice) && homeDevice == st.st_dev;
        if (!sameDeviceAsHome) top = mountTop(real, st.st_dev);
    }
    if (top.isEmpty()) {
        const QByteArray homeTrash = nativePath(dataHome()) + "/Trash";
        if (!homeTrash.startsWith('/')) {
            errno = ENOENT;
            return false;
        }
        if (!makeFolders(homeTrash + "/files") || !makeFolders(homeTrash + "/info")) return false;
        if (trashInto(homeTrash, path, original, result)) return true;
        // A bind mount of the home's device cannot be renamed across; its volume trash can.
        if (errno != EXDEV || finder) return false;
        top = mountTop(real, st.st_dev);
    }
    if (!original.startsWith(joined(top, QByteArray()))) {
        errno = EXDEV;
        return false;
    }
    const QByteArray trash = volumeTrash(top);
    if (trash.isEmpty()) return false;
    // Volume trashes record the path relative to their top, so the volume may move.
    const QByteArray relative = original.mid(joined(top, QByteArray()).size());
    return trashInto(trash, path, relative, result);
}

}  // namespace vastel
