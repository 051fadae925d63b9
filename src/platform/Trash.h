#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <functional>

namespace vastel {

// Where a file went when it was moved into the trash.
struct TrashedFile {
    QByteArray
        trashFolder;       // the trash: <data home>/Trash, <top>/.Trash/<uid> or <top>/.Trash-<uid>
    QByteArray filesPath;  // the file's new path in <trash>/files
    QByteArray infoPath;   // its <trash>/info/<name>.trashinfo
};

// Moves a file (or a link, as a link) into the freedesktop.org trash of its volume: the home
// trash for files on the file system of the data home, the volume's own trash otherwise.
// The .trashinfo is written first and the file is then renamed into the trash; it is never
// copied. Returns false, with errno set and the file left where it was, when that cannot be
// done; true only when the file is in a trash beside its .trashinfo.
bool moveToTrash(const QByteArray& path, TrashedFile* result = nullptr);

// Decides which trash a folder's files go to: an empty result means the home trash, any other
// the top folder of the volume whose trash is used. The real one compares the device with the
// data home's and finds the top of the mount. Tests replace it to stand for a volume that
// cannot be mounted here; pass nullptr to restore the real one.
using TrashTopFinder = std::function<QByteArray(const QByteArray& realFolder, dev_t device)>;
void setTrashTopFinder(TrashTopFinder finder);

// The text of a .trashinfo file for the original path (Path= as percent-encoded bytes).
QByteArray trashInfoText(const QByteArray& originalPath, time_t deletionTime);

}  // namespace vastel
