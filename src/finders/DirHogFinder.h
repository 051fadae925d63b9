#pragma once

#include "core/ScanTarget.h"
#include "core/StopToken.h"
#include "core/WalkOptions.h"
#include "core/WalkProgress.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace vastel {

class GridModel;

// Which folders a folder-hog scan lists.
enum class DirHogScan {
    Main,  // the folders directly under each target's root, each with its whole sub-tree
    All,   // every folder of each target, its root included, each with its own files only
};

struct DirHogOptions {
    DirHogScan scan = DirHogScan::All;
    // Rows the list can take; one more ends the scan as Abort does. Memory, not a list
    // control, sets the bound.
    qint64 capacity = WalkOptions::kDefaultCapacity;
    int sliceMs = kJobSliceMs;  // how often the progress sink may run pending events
    // Walks at once. Above 1, the folders below the main folders are walked on as many
    // threads, with the same rows as one walk gives; the progress sink hears only of the top
    // levels, and after a stop the rows are those of the folders that were finished.
    int threads = 1;
};

// One folder of the result, as values.
struct DirHogRow {
    QByteArray path;         // the folder's exact native path
    qint64 size = 0;         // bytes of the files counted
    qint64 files = 0;        // files counted
    qint64 subfolders = 0;   // see DirHogFinder
    quint32 latest = 0;      // largest packed last-access stamp of the files counted, 0: none
    qint64 volumeBytes = 0;  // capacity of the volume holding the target, 0 when unknown
};

struct DirHogResult {
    std::vector<DirHogRow> rows;  // in the order the scan finished them
    bool full = false;            // the row list was full and the scan stopped
    int failedTargets = 0;
};

// The folder-hog scans over the checked targets, in list order. Files of every attribute
// count (hidden and system ones too); hidden folders are never entered, links never followed,
// and a walk stays on its target's file system. A file with several hard links counts once
// per scan, where its device and inode are first met, as du counts it: removing one of its
// names frees nothing.
//
// Main: one row per folder directly under a target's root that could be entered and is not
// hidden; it counts every file of its sub-tree, and as sub-folders every folder below it that
// was entered. The files lying directly in the root belong to no row.
// All: one row per folder that could be listed, the root included, after the rows of its
// sub-folders; it counts the files lying directly in it, and as sub-folders every folder entry
// of its listing, hidden ones and those that cannot be entered included.
//
// A folder left unfinished by a stop has no row in the All scan; in the Main scan the main
// folder being walked keeps its row with what was counted. The progress sink hears of targets
// that cannot be opened and of a full row list (the stop is then requested).
DirHogResult runDirHogs(const std::vector<ScanTarget>& targets, const DirHogOptions& options,
                        WalkProgress& progress, StopToken& stop);

// Grid headers: "Size", "% Used", "# Files", "# Sub-folders", "Latest File Access", "Name".
const QStringList& dirHogHeaders();
// The six cell texts of a row: size with separators, the share of the volume ("#0.00", "???"
// when the size is not below the capacity), files, sub-folders, the short date of the latest
// access (empty for none), and the folder's path as it is spelt.
QStringList dirHogCells(const DirHogRow& row);
QString percentUsedText(qint64 size, qint64 capacity);

// Fills a grid with the rows as the scan hands them to it: in descending case-insensitive
// order of their tab-joined lines. The window then sorts them largest first, as
// sortDirHogsLargestFirst does.
void fillDirHogGrid(GridModel& grid, const std::vector<DirHogRow>& rows);
void sortDirHogsLargestFirst(GridModel& grid);

}  // namespace vastel
