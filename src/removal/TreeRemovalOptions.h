#pragma once

#include <QByteArray>

namespace vastel {

// What a folder-tree removal does with the files it walks.
struct TreeRemovalOptions {
    enum class Mode { Delete, Recycle, Zip };
    Mode mode = Mode::Delete;
    bool deleteAfterZip = true;  // "Delete files after zipping them up"
    QByteArray archivePath;      // Zip: the one archive of this tree
    QByteArray comment;
};

}  // namespace vastel
