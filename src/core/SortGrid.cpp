#include "core/SortGrid.h"

#include "core/GridModel.h"
#include "core/NumberKeyReader.h"
#include "core/RangeSort.h"
#include "core/ShortDateReader.h"

#include <algorithm>
#include <functional>
#include <vector>

namespace vastel {

namespace {

// Once a grid has been sorted its rows' texts lie scattered in memory, and reading a million
// keys would wait on memory most of the time. Asking for them some rows ahead (first the row's
// cells, then the key text) hides most of that wait.
inline void prefetch(const void* address) {
#if defined(__x86_64__) || defined(__i386__)
    // GCC drops __builtin_prefetch in this loop; an asm statement stays.
    asm volatile("prefetcht0 %0" : : "m"(*static_cast<const char*>(address)));
#else
    __builtin_prefetch(address);
#endif
}
inline void prefetchCells(const GridModel& grid, int row, int last, int column) {
    if (row > last) return;
    const QStringList& cells = grid.row(row).cells;
    if (column < cells.size()) prefetch(cells.constData() + column);
}
inline void prefetchText(const GridModel& grid, int row, int last, int column) {
    if (row > last) return;
    const QStringList& cells = grid.row(row).cells;
    if (column < cells.size()) prefetch(cells.constData()[column].constData());
}

// The indirect sort: key each row once, sort the narrow scratch table, then move the grid's rows
// once into their new places. Text rows are keyed by keyOf(cell text); records by the column
// table's key of the same kind (recordKeyOf(table, column)).
template <typename Key, typename KeyOf, typename RecordKeyOf>
void sortGrid(GridModel& grid, int first, int last, bool descending, int column, KeyOf keyOf,
              RecordKeyOf recordKeyOf, bool smallRangePasses) {
    if (column < 0 || column >= grid.columnCount()) return;
    first = std::max(first, 0);
    last = std::min(last, grid.rowCount() - 1);
    if (first >= last) return;

    std::vector<ScratchRow<Key>> scratch;
    scratch.reserve(size_t(last - first + 1));
    if (const ResultColumns* columns = grid.columns()) {
        const auto key = recordKeyOf(*columns, column);
        for (int r = first; r <= last; ++r) scratch.push_back({key(grid.record(r)), r});
    } else {
        for (int r = first; r <= last; ++r) {
            prefetchCells(grid, r + 16, last, column);
            prefetchText(grid, r + 8, last, column);
            scratch.push_back({keyOf(grid.row(r).cell(column)), r});
        }
    }

    const int hi = last - first;
    if (descending)
        RangeSorter(scratch, std::greater<Key>(), smallRangePasses).sort(0, hi);
    else
        RangeSorter(scratch, std::less<Key>(), smallRangePasses).sort(0, hi);

    std::vector<int> order;
    order.reserve(scratch.size());
    for (const auto& s : scratch) order.push_back(s.row);
    grid.reorderRows(first, order);
}

}  // namespace

std::string textKey(const QString& text) {
    std::string key = text.toStdString();
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return key;
}

long double numberKey(const QString& text) { return NumberKeyReader().key(text); }

double dateKey(const QString& text) { return ShortDateReader().key(text); }

void sortGridByText(GridModel& grid, int first, int last, bool descending, int column) {
    sortGrid<std::string>(
        grid, first, last, descending, column, textKey,
        [](const ResultColumns& table, int c) { return table.textKeyOf(c); }, true);
}

void sortGridByNumber(GridModel& grid, int first, int last, bool descending, int column) {
    const ResultColumns* columns = grid.columns();
    if (columns && column >= 0 && column < grid.columnCount() &&
        columns->wholeNumberKeyOf(column)) {
        // Whole numbers compare as their long double keys do, so the order is the same.
        sortGrid<quint64>(
            grid, first, last, descending, column, [](const QString&) { return quint64(0); },
            [](const ResultColumns& table, int c) { return table.wholeNumberKeyOf(c); }, false);
        return;
    }
    const NumberKeyReader reader;
    sortGrid<long double>(
        grid, first, last, descending, column,
        [&reader](const QString& text) { return reader.key(text); },
        [](const ResultColumns& table, int c) { return table.numberKeyOf(c); }, false);
}

void sortGridByDate(GridModel& grid, int first, int last, bool descending, int column) {
    const ShortDateReader reader;
    sortGrid<double>(
        grid, first, last, descending, column,
        [&reader](const QString& text) { return reader.key(text); },
        [](const ResultColumns& table, int c) { return table.dateKeyOf(c); }, false);
}

}  // namespace vastel
