#pragma once

#include <QtGlobal>

namespace vastel {

// A cheap monotonic clock in milliseconds (a few milliseconds' resolution), for time slices
// tested once per directory entry.
qint64 coarseMilliseconds();

}  // namespace vastel
