#pragma once

#include "core/ResultRecord.h"
#include "core/ScanTarget.h"
#include "core/TreeWalk.h"
#include "core/WalkSink.h"
#include "finders/FoundColumns.h"

#include <QByteArray>
#include <QDate>
#include <memory>
#include <optional>
#include <vector>

namespace vastel {

// The three dates of a file ("Last accessed", "Created", "Last modified") and the three ranges
// ("On or Before", "In between", "On or After"), in the order of the window's choices.
enum class DateKind { Accessed, Created, Modified };
enum class DateRange { Before, Between, After };

struct DateOptions {
    DateKind what = DateKind::Accessed;
    DateRange when = DateRange::Between;
    QDate start;  // dates only; bounds are inclusive
    QDate end;
    QByteArray pattern = "*.*";  // the files looked at
};

// The file's date of a kind, as a calendar date in local time; none when the file has no such
// date (a file system without birth times has no creation date). Dates outside what the packed
// stamps hold (before 1980, after 2107) are still dates.
std::optional<QDate> entryDate(const DirEntry& entry, DateKind kind);

// The range test on calendar dates: a file without a date passes only "On or Before".
bool QinDateRange(const std::optional<QDate>& date, DateRange when, const QDate& start,
                  const QDate& end);

// The files-by-date collection, the walk's sink: hidden and system files are never listed,
// hidden folders never entered (the walk's rules); a file whose date of the chosen kind lies
// in the range is kept as a record, in the order found. The kind and the range may change
// while the walk runs: they apply from the next file on.
class DateCollection : public WalkSink {
  public:
    explicit DateCollection(const DateOptions& options);

    WalkOptions walkOptions() const;
    void setKind(DateKind what) { options_.what = what; }
    void setRange(DateRange when);
    const DateOptions& options() const { return options_; }

    bool accepts(const WalkFile& file) override;
    void collect(const WalkFile& file) override;
    // The record of a file as collect() keeps it.
    ResultRecord recordOf(const WalkFile& file);
    // The file's index into the column table's type texts.
    qint32 typeOf(const WalkFile& file) { return typeTexts_->typeOf(file.entry.name); }
    qint32 typeOfName(QByteArrayView name) { return typeTexts_->typeOf(name); }

    std::vector<ResultRecord> takeNew();
    qint64 count() const { return count_; }
    std::shared_ptr<const ResultColumns> columns() const { return columns_; }
    std::shared_ptr<const FoundColumns> foundColumns() const { return columns_; }

  private:
    enum : quint8 { kUnknown, kIn, kOut, kAsk };

    DateOptions options_;
    std::vector<quint8> inRange_;  // by the upper half of a stamp (its date), for the range
    std::shared_ptr<FoundTypes> typeTexts_;
    std::shared_ptr<FoundColumns> columns_;
    std::vector<ResultRecord> pending_;
    qint64 count_ = 0;
};

struct DateRun {
    std::shared_ptr<const FoundColumns> columns;
    std::vector<ResultRecord> records;
    TreeWalk::Summary summary;
};
DateRun runDateFinder(const std::vector<ScanTarget>& targets, const DateOptions& options,
                      WalkProgress& progress, StopToken& stop);

}  // namespace vastel
