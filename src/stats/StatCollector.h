#pragma once

#include "core/WalkSink.h"
#include "stats/StatRules.h"
#include "stats/StatTallies.h"
#include "stats/TypeFilter.h"

#include <QDate>
#include <set>
#include <utility>

namespace vastel {

// Tallies the files a walk hands it (crunchNumbers) into a run's StatTallies. One collector
// serves a whole run, so a file with several hard links inside the run is tallied once, and
// "today" of the ages is the one given when it was made.
class StatCollector : public WalkSink {
  public:
    StatCollector(StatTallies& tallies, const TypeFilter& filter, const QDate& today,
                  bool overhang);

    void collect(const WalkFile& file) override;
    // One file; `folder` is the full path of the folder it lies in.
    void crunchNumbers(const QByteArray& folder, const DirEntry& entry);

    // The folder shown in the status text, refreshed every third file.
    const QByteArray& statusFolder() const { return statusFolder_; }
    quint64 statusSerial() const { return statusSerial_; }
    bool overhang() const { return overhang_; }

  private:
    void collectFileAttr(quint32 attributes, qint64 size);
    void DropIntoHourSlot(const DirEntry& entry);

    StatTallies& t_;
    TypeMatcher matcher_;
    AgeTable ages_;
    bool overhang_;
    std::set<std::pair<dev_t, ino_t>> linked_;  // inodes with several links already tallied
    QByteArray statusFolder_;
    quint64 statusSerial_ = 0;
};

}  // namespace vastel
