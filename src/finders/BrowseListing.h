#pragma once

#include "core/ResultRecord.h"
#include "finders/BrowseColumns.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace vastel {

// The files of one folder as the browser lists them.
struct BrowseListing {
    std::shared_ptr<const BrowseColumns> columns;
    std::vector<ResultRecord> records;  // in listing order
    qint64 totalSize = 0;
    // errno when the folder could not be read (ENOENT, EACCES, ELOOP for a link, ENOTDIR);
    // what was read before a listing broke off is kept.
    int error = 0;
};

// The files of `folder` that match `mask` (patterns separated by ";", the desktop's wildcard
// rules; one without any pattern matches nothing). Folders, hidden files (a leading "."),
// system files (devices, FIFOs, sockets) and symbolic links are not listed. A folder that is
// itself a symbolic link is not entered: the browser never follows a link into another tree.
BrowseListing listBrowseFolder(const QByteArray& folder, const QString& mask);

// The exact bytes of a folder shown by its display text (each component as displayPath shows
// it): a component whose bytes are not UTF-8 is found among its parent's entries. The text's
// own bytes when no entry fits.
QByteArray folderOfDisplayText(const QString& text);

}  // namespace vastel
