#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vastel {

// The background of a result row: duplicate groups alternate between A (drawn light grey) and B.
enum class GridShade : quint8 { None, A, B };

// One row of a result grid. It moves whole when the grid is sorted: its texts, its mark, its
// shade and the exact bytes of the file's path, which every action on the row uses.
struct GridRow {
    QStringList cells;  // one text per column; missing cells read as empty
    QByteArray path;    // the file's native path, never re-parsed from the texts
    bool marked = false;
    GridShade shade = GridShade::None;

    const QString& cell(qsizetype column) const {
        static const QString empty;
        return column >= 0 && column < cells.size() ? cells.at(column) : empty;
    }
};

}  // namespace vastel
