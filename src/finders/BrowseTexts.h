#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>

namespace vastel {

// The browser's status texts and questions.
QString browseFileCountText(qint64 files);             // "Number of files : 12"
QString browseTotalSizeText(qint64 bytes);             // "Total size : 3,500"
QString browseMarkedText(qint64 files, qint64 bytes);  // "Marked for deletion: 2 files ..."
QString browseWildcardText(const QString& mask);       // "Wildcard : *.*"
QString browseExitQuestion(qint64 markedFiles);        // asked when closing with marks
QString browseLinkQuestion(const QString& link);       // before a link to a folder goes
QString browseFolderProblemText(int error);            // a folder that cannot be listed
extern const char* const kBrowseHarborHint;            // on a Safe Harbor folder's label
extern const char* const kBrowseRootRefusal;
extern const char* const kBrowseSystemRefusal;

// Why "Delete Folder" refuses a folder before the removal window: the root-folder text for a
// drive root (the file tree's root, a drive's mount point, the home folder), the system text
// for one of the operating system's own top-level folders (/etc, /usr, ..., without regard to
// case); empty when the folder may go on to the removal, deeper folders included.
QString browseRemovalRefusal(const QByteArray& folder, const QByteArrayList& driveRoots,
                             const QByteArray& home);

// Folder paths: without trailing separators ("/" stays), the parent ("/" for "/x"), whether an
// entry is there (a folder, or a link standing where one was), and the folder itself or else
// its nearest parent that still exists.
QByteArray trimmedFolderPath(QByteArray path);
QByteArray parentFolderPath(const QByteArray& folder);
bool folderEntryExists(const QByteArray& folder);
QByteArray nearestExistingFolder(QByteArray folder);

// The path itself is a symbolic link (not followed).
bool isFolderLink(const QByteArray& path);
// Removes the link itself, never what it points to; false (errno set) when it is not a link
// any more or cannot be removed.
bool removeFolderLink(const QByteArray& path);

}  // namespace vastel
