#pragma once

#include "core/GridRow.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>
#include <algorithm>
#include <new>
#include <utility>

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

    ResultRecord() {}
    ResultRecord(const ResultRecord& other) {
        dropPath();
        copyPathOf(other);
    }
    ResultRecord(ResultRecord&& other) noexcept {
        dropPath();
        movePathOf(other);
    }
    ResultRecord& operator=(const ResultRecord& other) {
        if (this != &other) {
            dropPath();
            copyPathOf(other);
        }
        return *this;
    }
    ResultRecord& operator=(ResultRecord&& other) noexcept {
        if (this != &other) {
            dropPath();
            movePathOf(other);
        }
        return *this;
    }
    ~ResultRecord() { dropPath(); }

    // path = folder + "/" + name (no second separator after a folder that ends in one).
    void setPath(QByteArray path, qsizetype folderLength) {
        dropPath();
        new (&held_) QByteArray(std::move(path));
        stored_ = false;
        split_ = quint32(std::clamp<qsizetype>(folderLength, 0, held_.size()));
    }
    // folder must stay where it is for as long as the record is used (see above).
    void setStoredPath(const QByteArray& folder, QByteArrayView name) {
        dropPath();
        stored_ = true;
        at_ = {&folder, name.data()};
        split_ = quint32(name.size());
    }

    // The exact native path, an owned copy.
    QByteArray path() const {
        if (!stored_) return held_;
        QByteArray out;
        out.reserve(at_.folder->size() + 1 + qsizetype(split_));
        out.append(*at_.folder);
        if (!out.isEmpty() && !out.endsWith('/')) out.append('/');
        out.append(at_.name, qsizetype(split_));
        return out;
    }
    // The folder the file was found in, and the file's own name (what follows the folder and
    // its separator). Views into the record's storage.
    QByteArrayView folder() const {
        return stored_ ? QByteArrayView(*at_.folder) : QByteArrayView(held_).first(split_);
    }
    QByteArrayView name() const {
        if (stored_) return QByteArrayView(at_.name, qsizetype(split_));
        return QByteArrayView(held_).sliced(held_.lastIndexOf('/') + 1);
    }

  private:
    struct Stored {
        const QByteArray* folder;
        const char* name;
    };
    void dropPath() {
        if (!stored_) held_.~QByteArray();
    }
    // On a record whose path was dropped (or never made).
    void copyPathOf(const ResultRecord& o) {
        copyValuesOf(o);
        if (o.stored_)
            at_ = o.at_;
        else
            new (&held_) QByteArray(o.held_);
    }
    void movePathOf(ResultRecord& o) {
        copyValuesOf(o);
        if (o.stored_)
            at_ = o.at_;
        else
            new (&held_) QByteArray(std::move(o.held_));
    }
    void copyValuesOf(const ResultRecord& o) {
        size = o.size;
        modified = o.modified;
        accessed = o.accessed;
        created = o.created;
        type = o.type;
        marked = o.marked;
        shade = o.shade;
        sharesFile = o.sharesFile;
        stored_ = o.stored_;
        split_ = o.split_;
    }

    bool stored_ = false;
    quint32 split_ = 0;  // held: the folder's length; stored: the name's
    // One or the other, as stored_ says: millions of records need no room for both.
    union {
        QByteArray held_{};
        Stored at_;
    };
};

}  // namespace vastel
