#pragma once

#include "core/GridRow.h"
#include "core/ResultColumns.h"
#include "core/ResultRecord.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <vector>

namespace vastel {

class GridModel;

// The pair comparison's copy of the duplicate finder's grid (Filename, Size, Modified, Time,
// Access, Folder, Type), taken when the window is shown, and the match rules that find the
// neighbouring pairs in it. Rows are model rows: 0 is the first data row.
class DupPairs {
  public:
    enum Column {
        Filename = 0,
        Size = 1,
        Modified = 2,
        Time = 3,
        Access = 4,
        Folder = 5,
        Type = 6
    };

    // Copies every row; records keep the finder's column table for their texts.
    void copyFrom(const GridModel& model);
    int rowCount() const;
    QString cell(int row, int column) const;
    QByteArray path(int row) const;
    GridShade shade(int row) const;

    // Rows a and a + 1 match by match mode 0 to 6 (names without regard to case, the rest
    // exactly). In the content mode they match when they are of one group: the finder shades
    // each group in one run, the shades alternating group by group. False when either row is
    // missing.
    bool qPairMatches(int a, int matchMode) const;
    // The row of the next pair after r: the first row below r that matches its successor;
    // -1 when there is none (there is then no later pair).
    int GetNextDupRow(int r, int matchMode) const;
    // The row of the previous pair before r: moving up while above the first row, the first
    // row that matches its successor, else the first row; -1 when r is the first row.
    int GetPrevDupRow(int r, int matchMode) const;

  private:
    bool sameName(int a, int b) const;
    bool sameSize(int a, int b) const;
    bool sameModified(int a, int b) const;
    bool sameType(int a, int b) const;
    bool sameCells(int a, int b, int column, bool caseless = false) const;

    std::shared_ptr<const ResultColumns> columns_;
    std::vector<ResultRecord> records_;
    std::vector<GridRow> rows_;  // when the grid held text rows
    std::vector<GridShade> shades_;
};

}  // namespace vastel
