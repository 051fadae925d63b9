#pragma once

#include "platform/DirEntry.h"
#include "platform/LocalStamps.h"

namespace vastel {

// statEntry for the hot loop of a walk: the name's length is known and the three stamps come
// from a LocalStamps cache. Fills the same fields with the same values as statEntry.
// With accessOnly, lastWrite, creation and their times are left 0 and hasCreation false.
bool statWalkEntry(int dirfd, const char* name, qsizetype length, DirEntry& out,
                   LocalStamps& stamps, bool accessOnly = false);

}  // namespace vastel
