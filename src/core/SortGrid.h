#pragma once

#include <QByteArray>
#include <QString>
#include <string>

namespace vastel {

class GridModel;

// Sort the rows first to last of a grid (model rows; the header is not a row) by the key of one
// column, ascending or descending, moving whole rows with their marks, shades and paths: all data
// rows are (0, rowCount() - 1). Rows outside the range stay where they are. A range reaching
// outside the grid is clipped to it; a range of fewer than two rows or an unknown column leaves
// the grid as it is. There is no limit on the number of rows.
//
// The order is the one of the program's quicksort (middle pivot, exchanges on equal keys), so
// rows with equal keys end up in a fixed but not a stable order; text sorts finish ranges of at
// most five rows with exchange passes. A grid of records takes each row's key from its column
// table (ResultColumns), which gives the same order as the keys of the cells' texts.
void sortGridByText(GridModel& grid, int first, int last, bool descending, int column);
void sortGridByNumber(GridModel& grid, int first, int last, bool descending, int column);
void sortGridByDate(GridModel& grid, int first, int last, bool descending, int column);

// The keys. Text: a to z turned into A to Z, compared as unsigned bytes of UTF-8 (code point
// order), a proper beginning first. Number: see NumberKeyReader. Date: days since 30 December
// 1899 of a text in the locale's short date format, 1 January 1900 when it is not one.
std::string textKey(const QString& text);
long double numberKey(const QString& text);
double dateKey(const QString& text);

}  // namespace vastel
