#pragma once

#include "core/GridRow.h"

#include <QByteArray>
#include <QtGlobal>

namespace vastel {

// One row of a result grid as values, not texts: a column table (ResultColumns) makes each
// cell's text when it is drawn. Like a GridRow it moves whole when the grid is sorted.
struct ResultRecord {
    QByteArray path;       // the file's exact native path
    qint64 size = 0;       // bytes
    quint32 modified = 0;  // packed stamps as the walk gives them (0: none)
    quint32 accessed = 0;
    quint32 created = 0;       // 0 also when the file system keeps no birth time
    quint32 folderLength = 0;  // the folder the file was found in: path.left(folderLength)
    qint32 type = -1;          // index into the column table's type texts
    bool marked = false;
    GridShade shade = GridShade::None;

    QByteArray folder() const { return path.left(folderLength); }
    // The file's own name: what follows the folder and its separator.
    QByteArray name() const { return path.mid(path.lastIndexOf('/') + 1); }
};

}  // namespace vastel
