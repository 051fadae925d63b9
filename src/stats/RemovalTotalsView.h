#pragma once

#include <QtGlobal>

namespace vastel {

// The cumulative removal totals of section "Vastel" as the Deleted page shows them; -1 means
// nothing recorded. The dates are day numbers.
struct RemovalTotalsView {
    qint64 nDelete = -1, sizeDelete = -1;
    qint64 nWaste = -1, sizeWaste = -1;
    qint64 nZip = -1, sizeZip = -1;
    qint64 delDate = -1, zipDate = -1;

    // Reads the eight totals, each 64-bit, -1 when absent or unreadable.
    static RemovalTotalsView read();
    // Writes -1 into every total ("Reset these numbers").
    static void reset();
};

}  // namespace vastel
