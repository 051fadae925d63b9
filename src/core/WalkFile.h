#pragma once

#include "core/Utility.h"
#include "platform/DirEntry.h"

#include <QByteArray>

namespace vastel {

// A file that a walk hands to its sink: the folder being walked and the file's entry. Both are
// valid only during the call.
struct WalkFile {
    const QByteArray& folder;  // full path of the folder, exact bytes
    const DirEntry& entry;     // name, size, attributes and stamps
    QByteArray path() const { return joinPath(folder, entry.name); }
};

}  // namespace vastel
