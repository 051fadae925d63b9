#pragma once

#include <optional>

namespace vastel {

class GridModel;

// The keys the browser sorts its grid by.
enum class BrowseSortKey { Name, Modified, Access, Size, Type };

// One direction flag per key (true: descending), program-wide: they outlive the window.
struct BrowseSortDirections {
    bool name = false;
    bool modified = true;
    bool access = true;
    bool size = true;
    bool type = false;
    bool& of(BrowseSortKey key);
};
BrowseSortDirections& browseSortDirections();

// The grid column a key sorts by, and the key of a header click (none for Time).
int browseSortColumn(BrowseSortKey key);
std::optional<BrowseSortKey> browseSortKeyOfColumn(int column);

// Sorts every row of the browser's grid by the key. A sort the user asked for first flips the
// key's direction; the re-sort after a refresh keeps it. Nothing happens on an empty grid.
void sortBrowseGrid(GridModel& grid, BrowseSortKey key, bool userInitiated);

}  // namespace vastel
