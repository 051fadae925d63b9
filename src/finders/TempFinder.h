#pragma once

#include "core/ResultRecord.h"
#include "core/ScanTarget.h"
#include "core/TreeWalk.h"
#include "core/WalkSink.h"
#include "finders/FoundColumns.h"
#include "finders/TempTypes.h"

#include <QStringList>
#include <memory>
#include <vector>

namespace vastel {

// What the quick clean looks for: the selected entries of its type list.
struct TempOptions {
    QStringList types;  // "*.tmp" TAB description, or bare patterns
};

// The quick clean's collection, the walk's sink: hidden files are looked at, system files
// (devices, FIFOs, sockets) are not, and hidden folders are never entered (the walk's rule).
// Records come out in the order they were found; takeNew() hands over those found since the
// last call, so a window can show rows while the walk goes on.
class TempCollection : public WalkSink {
  public:
    explicit TempCollection(const TempOptions& options);

    // The walk's options for this collection: every entry but folders, names prefiltered.
    WalkOptions walkOptions() const;
    const TempTypes& types() const { return types_; }

    bool accepts(const WalkFile& file) override;
    void collect(const WalkFile& file) override;
    // The record of a file as collect() keeps it.
    ResultRecord recordOf(const WalkFile& file);

    std::vector<ResultRecord> takeNew();
    qint64 count() const { return count_; }
    // The grid's columns over the records; the type texts grow as the walk finds extensions.
    std::shared_ptr<const ResultColumns> columns() const { return columns_; }
    std::shared_ptr<const FoundColumns> foundColumns() const { return columns_; }

  private:
    TempTypes types_;
    std::shared_ptr<FoundTypes> typeTexts_;
    std::shared_ptr<FoundColumns> columns_;
    std::vector<ResultRecord> pending_;
    qint64 count_ = 0;
};

// The whole quick clean without a window (vastel-scan, benchmarks): the records in the order
// they were found.
struct TempRun {
    std::shared_ptr<const FoundColumns> columns;
    std::vector<ResultRecord> records;
    TreeWalk::Summary summary;
};
TempRun runTempFinder(const std::vector<ScanTarget>& targets, const TempOptions& options,
                      WalkProgress& progress, StopToken& stop);

}  // namespace vastel
