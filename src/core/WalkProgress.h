#pragma once

#include "core/ScanTarget.h"

#include <QByteArray>

namespace vastel {

// What a walk tells the window around it. All calls come from the walking thread.
class WalkProgress {
  public:
    virtual ~WalkProgress() = default;
    // Called once per time slice: show the folder and let pending events run.
    virtual void pump(const QByteArray& folder) {}
    // The target could not be opened; the walk goes on with the next one.
    virtual void targetFailed(const ScanTarget& target) {}
    // The collection refused a file; the walk has requested its stop and winds down.
    virtual void collectionFull() {}
};

}  // namespace vastel
