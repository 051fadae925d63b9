#include "finders/BrowseSort.h"

#include "core/GridModel.h"
#include "core/SortGrid.h"
#include "finders/BrowseColumns.h"

namespace vastel {

bool& BrowseSortDirections::of(BrowseSortKey key) {
    switch (key) {
        case BrowseSortKey::Modified:
            return modified;
        case BrowseSortKey::Access:
            return access;
        case BrowseSortKey::Size:
            return size;
        case BrowseSortKey::Type:
            return type;
        case BrowseSortKey::Name:
            break;
    }
    return name;
}

BrowseSortDirections& browseSortDirections() {
    static BrowseSortDirections directions;
    return directions;
}

int browseSortColumn(BrowseSortKey key) {
    switch (key) {
        case BrowseSortKey::Modified:
            return BrowseColumns::Modified;
        case BrowseSortKey::Access:
            return BrowseColumns::Access;
        case BrowseSortKey::Size:
            return BrowseColumns::Size;
        case BrowseSortKey::Type:
            return BrowseColumns::Type;
        case BrowseSortKey::Name:
            break;
    }
    return BrowseColumns::Filename;
}

std::optional<BrowseSortKey> browseSortKeyOfColumn(int column) {
    switch (column) {
        case BrowseColumns::Modified:
            return BrowseSortKey::Modified;
        case BrowseColumns::Access:
            return BrowseSortKey::Access;
        case BrowseColumns::Size:
            return BrowseSortKey::Size;
        case BrowseColumns::Filename:
            return BrowseSortKey::Name;
        case BrowseColumns::Type:
            return BrowseSortKey::Type;
        default:
            return std::nullopt;
    }
}

void sortBrowseGrid(GridModel& grid, BrowseSortKey key, bool userInitiated) {
    const int rows = grid.rowCount();
    if (rows < 1) return;
    bool& descending = browseSortDirections().of(key);
    if (userInitiated) descending = !descending;
    const int column = browseSortColumn(key);
    switch (key) {
        case BrowseSortKey::Modified:
        case BrowseSortKey::Access:
            sortGridByDate(grid, 0, rows - 1, descending, column);
            break;
        case BrowseSortKey::Size:
            sortGridByNumber(grid, 0, rows - 1, descending, column);
            break;
        case BrowseSortKey::Name:
        case BrowseSortKey::Type:
            sortGridByText(grid, 0, rows - 1, descending, column);
            break;
    }
}

}  // namespace vastel
