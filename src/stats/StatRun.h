#pragma once

#include "core/JobSink.h"
#include "core/ScanTarget.h"
#include "core/StopToken.h"
#include "core/WalkProgress.h"
#include "stats/StatTallies.h"
#include "stats/TypeFilter.h"

#include <QDate>
#include <functional>
#include <memory>
#include <vector>

namespace vastel {

class StatCollector;

// What a statistics run walks and counts.
struct StatOptions {
    std::vector<ScanTarget> targets;  // PickList1, in order
    TypeFilter filter;
    QDate today;                // the day ages are counted from; invalid: read at the start
    int sliceMs = kJobSliceMs;  // how often the progress sink may run pending events
    // The waste tallies (and the Overhang page) are kept for runs of exactly one target.
    bool overhang() const { return targets.size() == 1; }
};

// How a run ended.
struct StatRunResult {
    QString doneList;    // each target's text followed by a blank, as far as walked
    QString lastTarget;  // currentTarget after the run
    bool aborted = false;
    int failedTargets = 0;  // targets that could not be entered
};

// The summed capacity of the targets' volumes (computePickListTotal); targets that are not
// ready add nothing, and 0 means the capacity is unknown.
double targetsCapacity(const std::vector<ScanTarget>& targets);
// The cluster size assumed for a target's volume (computeClusterSize); 0 when not ready.
qint64 computeClusterSize(const ScanTarget& target);

// A statistics run, target by target. The window walks each target itself (it redraws between
// them); vastel-scan and tests use run().
class StatRun {
  public:
    // Clears the tallies and fixes "today" (clearVariables).
    StatRun(StatTallies& tallies, StatOptions options);
    ~StatRun();
    StatRun(const StatRun&) = delete;
    StatRun& operator=(const StatRun&) = delete;

    // Walks one target into the tallies; false when it could not be entered. A target that is
    // not ready is skipped silently.
    bool scanTarget(const ScanTarget& target, WalkProgress& progress, StopToken& stop);
    // Every target in order, stopping between targets at an abort; afterTarget (if given) runs
    // after each walked target.
    StatRunResult run(WalkProgress& progress, StopToken& stop,
                      const std::function<void(const ScanTarget&)>& afterTarget = {});

    const StatOptions& options() const { return options_; }
    const StatCollector& collector() const { return *collector_; }

  private:
    StatTallies& tallies_;
    StatOptions options_;
    std::unique_ptr<StatCollector> collector_;
};

}  // namespace vastel
