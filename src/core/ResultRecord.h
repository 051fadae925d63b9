#pragma once

#include "core/GridRow.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <algorithm>

namespace vastel {

// One row of a result grid as values, not texts: a column table (ResultColumns) makes each
// cell's text when it is drawn. Like a GridRow it moves whole when the grid is sorted.
//
// The file's exact path is held one of two ways. A record may hold it itself (setPath). A
// finder that lists millions of files keeps its folders and names once, in storage that the
// records' column table keeps alive (ResultColumns::keepPaths), and its records only point
// there (setStoredPath): no allocation per file, and each folder's bytes once.
struct ResultRecord {
    qint64 size = 0;       // bytes
    quint32 modified = 0;  // packed stamps as the walk gives them (0: none)
    quint32 accessed = 0;
    quint32 created = 0;  // 0 also when the file system keeps no birth time
    qint32 type = -1;     // index into the column table's type texts
    bool marked = false;
    GridShade shade = GridShade::None;
    // Another row of the same grid is a name of this very file (a hard link: same device and
    // inode), so removing one of them frees nothing.
    bool sharesFile = false;

    // path = folder + "/" + name (no second separator after a folder that ends in one).
    void setPath(QByteArray path, qsizetype folderLength) {
        held_ = std::move(path);
        folder_ = nullptr;
        name_ = nullptr;
        split_ = quint32(std::clamp<qsizetype>(folderLength, 0, held_.size()));
    }
    // folder must stay where it is for as long as the record is used (see above).
    void setStoredPath(const QByteArray& folder, QByteArrayView name) {
        held_.clear();
        folder_ = &folder;
        name_ = name.data();
        split_ = quint32(name.size());
    }

    // The exact native path, an owned copy.
    QByteArray path() const {
        if (!folder_) return held_;
        QByteArray out;
        out.reserve(folder_->size() + 1 + qsizetype(split_));
        out.append(*folder_);
        if (!out.isEmpty() && !out.endsWith('/')) out.append('/');
        out.append(name_, qsizetype(split_));
        return out;
    }
    // The folder the file was found in, and the file's own name (what follows the folder and
    // its separator). Views into the record's storage.
    QByteArrayView folder() const {
        return folder_ ? QByteArrayView(*folder_) : QByteArrayView(held_).first(split_);
    }
    QByteArrayView name() const {
        if (folder_) return QByteArrayView(name_, qsizetype(split_));
        return QByteArrayView(held_).sliced(held_.lastIndexOf('/') + 1);
    }

  private:
    quint32 split_ = 0;  // held: the folder's length; stored: the name's
    QByteArray held_;
    const QByteArray* folder_ = nullptr;
    const char* name_ = nullptr;
};

}  // namespace vastel
