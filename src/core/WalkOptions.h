#pragma once

#include "core/JobSink.h"

#include <QByteArray>
#include <limits>

namespace vastel {

// Which directory entries the files part of a walk looks at.
enum class FileSelection {
    Listed,  // plain, read-only and archive files: hidden and system files are left out
    All,     // every entry that is not a folder, hidden and system ones included
};

// How a walk runs. Folders are always taken from the listing without hidden or system ones.
struct WalkOptions {
    // Memory, not a list control, bounds a collection; this many lines is far more than a
    // window can show and still far from exhausting the machine.
    static constexpr qint64 kDefaultCapacity = 10'000'000;
    static constexpr qint64 kUnlimited = std::numeric_limits<qint64>::max();

    QByteArray pattern = "*.*";  // the finder's wildcard pattern for files
    FileSelection files = FileSelection::Listed;
    qint64 capacity = kDefaultCapacity;  // files the collection can take
    int sliceMs = kJobSliceMs;           // how often the progress sink may run pending events
    int maxOpenFolders = 64;             // folder descriptors kept open along the current path
    // The sink reads only lastAccess of the stamps: the others stay 0 (less work per file).
    bool accessStampOnly = false;
    // Folders this many levels below a target's root (1: its own folders) are handed to the
    // sink's subtreeFound instead of walked, for a walk of their own (0: none are).
    int splitDepth = 0;
};

}  // namespace vastel
