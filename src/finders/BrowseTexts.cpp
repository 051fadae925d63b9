#include "finders/BrowseTexts.h"

#include "core/Utility.h"
#include "platform/DirEntry.h"
#include "platform/FileRemoval.h"
#include "platform/FolderHandle.h"
#include "platform/SystemFolders.h"

#include <cerrno>
#include <cstring>

namespace vastel {

const char* const kBrowseHarborHint = "Folder is ON the Non-Deletion List";
const char* const kBrowseRootRefusal =
    "Cannot delete the root folder! To delete a folder including all files and sub-folders "
    "double click on the desired folder shown in the left panel.";
const char* const kBrowseSystemRefusal = "You cannot delete the Windows folder using Vastel 98";

QByteArray trimmedFolderPath(QByteArray path) {
    while (path.size() > 1 && path.endsWith('/')) path.chop(1);
    return path;
}

QByteArray parentFolderPath(const QByteArray& folder) {
    QByteArray parent, name;
    splitPath(trimmedFolderPath(folder), parent, name);
    return parent.isEmpty() ? QByteArray("/") : parent;
}

bool folderEntryExists(const QByteArray& folder) {
    DirEntry entry;
    return statPath(folder, entry) && (entry.isDirectory() || entry.isSymlink());
}

QByteArray nearestExistingFolder(QByteArray folder) {
    while (folder.size() > 1 && !folderEntryExists(folder)) folder = parentFolderPath(folder);
    return folder;
}

QString browseFileCountText(qint64 files) {
    return QStringLiteral("Number of files : ") + QString::number(files);
}

QString browseTotalSizeText(qint64 bytes) {
    return QStringLiteral("Total size : ") + thousandsText(bytes);
}

QString browseMarkedText(qint64 files, qint64 bytes) {
    return QStringLiteral("Marked for deletion: %1 files %2 bytes")
        .arg(QString::number(files), thousandsText(bytes));
}

QString browseWildcardText(const QString& mask) { return QStringLiteral("Wildcard : ") + mask; }

QString browseExitQuestion(qint64 markedFiles) {
    return QStringLiteral("You have ") + QString::number(markedFiles) +
           QStringLiteral(" files marked for deletion. ") +
           QStringLiteral("Do you really wish to exit without deleting?");
}

QString browseLinkQuestion(const QString& link) {
    return QStringLiteral("The folder ") + link +
           QStringLiteral(
               " is a symbolic link. Delete the link? The folder it points to is "
               "not touched.");
}

QString browseFolderProblemText(int error) {
    if (error == ELOOP) return QStringLiteral("A symbolic link: its files are not listed");
    return QStringLiteral("Folder cannot be read (") +
           QString::fromLocal8Bit(std::strerror(error)) + QLatin1Char(')');
}

QString browseRemovalRefusal(const QByteArray& folder, const QByteArrayList& driveRoots,
                             const QByteArray& home) {
    const QByteArray f = trimmedFolderPath(folder);
    if (f.isEmpty() || f == "/" || f == trimmedFolderPath(home))
        return QLatin1String(kBrowseRootRefusal);
    for (const QByteArray& root : driveRoots)
        if (f == trimmedFolderPath(root)) return QLatin1String(kBrowseRootRefusal);
    for (const QByteArray& top : systemTopFolders())
        if (f.compare(trimmedFolderPath(top), Qt::CaseInsensitive) == 0)
            return QLatin1String(kBrowseSystemRefusal);
    return {};
}

bool isFolderLink(const QByteArray& path) {
    DirEntry entry;
    return statPath(trimmedFolderPath(path), entry) && entry.isSymlink();
}

bool removeFolderLink(const QByteArray& path) {
    QByteArray parent, name;
    splitPath(trimmedFolderPath(path), parent, name);
    const FolderHandle folder = FolderHandle::open(parent);
    if (!folder.isOpen()) return false;
    DirEntry entry;
    if (!folder.statChild(name, entry)) return false;
    if (!entry.isSymlink()) {
        errno = EISDIR;
        return false;
    }
    return folder.removeEntry(name, false) == RemoveResult::Removed;
}

}  // namespace vastel
