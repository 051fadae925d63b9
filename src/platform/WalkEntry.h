#pragma once

#include "platform/DirEntry.h"
#include "platform/LocalStamps.h"

namespace vastel {

// statEntry for the hot loop of a walk: the name's length is known and the three stamps come
// from a LocalStamps cache. Fills the same fields with the same values as statEntry.
bool statWalkEntry(int dirfd, const char* name, qsizetype length, DirEntry& out,
                   LocalStamps& stamps);

}  // namespace vastel
