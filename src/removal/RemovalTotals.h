#pragma once

#include <QtGlobal>

namespace vastel {

// The cumulative totals of section "Vastel". Values are 64-bit decimal text; -1 (or a missing
// key) means nothing recorded; the dates are day numbers.
void addRemovalTotals(qint64 deletedFiles, qint64 deletedBytes, qint64 recycledFiles,
                      qint64 recycledBytes);
void addArchiveTotals(qint64 archivedFiles, qint64 archivedBytes);

}  // namespace vastel
