#include "stats/StatRun.h"

#include "core/TreeWalk.h"
#include "platform/Volumes.h"
#include "stats/StatCollector.h"
#include "stats/StatRules.h"

#include <memory>

namespace vastel {

double targetsCapacity(const std::vector<ScanTarget>& targets) {
    double total = 0;
    for (const ScanTarget& target : targets) {
        if (!targetReady(target)) continue;
        DriveSpace space;
        if (driveSpace(target.root, space)) total += space.totalBytes;
    }
    return total;
}

qint64 computeClusterSize(const ScanTarget& target) {
    if (!targetReady(target)) return 0;
    DriveSpace space;
    if (!driveSpace(target.root, space)) return 0;
    return clusterSizeFor(space.totalBytes, clusterSize(target.root));
}

StatRun::StatRun(StatTallies& tallies, StatOptions options)
    : tallies_(tallies), options_(std::move(options)) {
    if (!options_.today.isValid()) options_.today = QDate::currentDate();
    tallies_.clear();
    collector_ = std::make_unique<StatCollector>(tallies_, options_.filter, options_.today,
                                                 options_.overhang());
}

StatRun::~StatRun() = default;

bool StatRun::scanTarget(const ScanTarget& target, WalkProgress& progress, StopToken& stop) {
    WalkOptions walk;
    walk.files = FileSelection::All;  // hidden, system and read-only files are counted too
    walk.capacity = WalkOptions::kUnlimited;
    walk.sliceMs = options_.sliceMs;
    TreeWalk tree(walk, *collector_, progress, stop);
    return tree.scanTarget(target);
}

StatRunResult StatRun::run(WalkProgress& progress, StopToken& stop,
                           const std::function<void(const ScanTarget&)>& afterTarget) {
    StatRunResult result;
    for (const ScanTarget& target : options_.targets) {
        if (stop) break;
        result.lastTarget = target.text;
        result.doneList += target.text + QLatin1Char(' ');
        if (!targetReady(target)) continue;
        if (!scanTarget(target, progress, stop)) ++result.failedTargets;
        if (afterTarget) afterTarget(target);
        if (stop) {
            result.aborted = true;
            break;
        }
    }
    return result;
}

}  // namespace vastel
