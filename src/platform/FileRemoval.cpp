#include "platform/FileRemoval.h"

#include <cerrno>

namespace vastel {

void splitPath(const QByteArray& path, QByteArray& folder, QByteArray& name) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0) {
        folder = ".";
        name = path;
    } else {
        folder = slash == 0 ? QByteArray("/") : path.left(slash);
        name = path.mid(slash + 1);
    }
}

RemoveResult removeRegularFile(const QByteArray& path, const FileIdentity* expected) {
    QByteArray folderPath, name;
    splitPath(path, folderPath, name);
    // "/a/b/" names no file; never let it become the folder "b".
    if (name.isEmpty() || name == "." || name == "..") return RemoveResult::NotRegular;
    const FolderHandle folder = FolderHandle::open(folderPath);
    if (!folder.isOpen()) return RemoveResult::Failed;
    return folder.removeEntry(name, true, expected);
}

bool openRegularFile(const QByteArray& path, OpenedFile& out) {
    QByteArray folderPath, name;
    splitPath(path, folderPath, name);
    if (name.isEmpty() || name == "." || name == "..") {
        errno = EISDIR;
        return false;
    }
    const FolderHandle folder = FolderHandle::open(folderPath);
    return folder.isOpen() && folder.openFile(name, out);
}

}  // namespace vastel
