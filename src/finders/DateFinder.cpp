#include "finders/DateFinder.h"

#include "platform/PackedStamp.h"

#include <QDateTime>
#include <algorithm>

namespace vastel {

namespace {

std::optional<QDate> dateOf(quint32 stamp, qint64 seconds) {
    if (stamp != 0) {
        const DosStampParts p = unpackDosStamp(stamp);
        const QDate d(p.year, p.month, p.day);
        if (d.isValid()) return d;
    }
    // Outside 1980 to 2107 the stamp is 0; the time itself still has a local date.
    const QDate d = QDateTime::fromSecsSinceEpoch(seconds).date();
    if (d.isValid()) return d;
    return std::nullopt;
}

}  // namespace

std::optional<QDate> entryDate(const DirEntry& e, DateKind kind) {
    switch (kind) {
        case DateKind::Accessed:
            return dateOf(e.lastAccess, e.lastAccessTime);
        case DateKind::Created:
            if (!e.hasCreation) return std::nullopt;
            return dateOf(e.creation, e.creationTime);
        case DateKind::Modified:
            return dateOf(e.lastWrite, e.lastWriteTime);
    }
    return std::nullopt;
}

bool QinDateRange(const std::optional<QDate>& date, DateRange when, const QDate& start,
                  const QDate& end) {
    if (!date) return when == DateRange::Before;
    switch (when) {
        case DateRange::Before:
            return *date <= start;
        case DateRange::Between:
            return start <= *date && *date <= end;
        case DateRange::After:
            return *date >= start;
    }
    return false;
}

DateCollection::DateCollection(const DateOptions& options)
    : options_(options),
      inRange_(65536, kUnknown),
      typeTexts_(std::make_shared<FoundTypes>()),
      columns_(FoundColumns::filesByDate(typeTexts_)) {}

WalkOptions DateCollection::walkOptions() const {
    WalkOptions options;
    options.pattern = options_.pattern;
    options.files = FileSelection::Listed;
    return options;
}

bool DateCollection::accepts(const WalkFile& file) {
    const DirEntry& e = file.entry;
    quint32 stamp = 0;
    switch (options_.what) {
        case DateKind::Accessed:
            stamp = e.lastAccess;
            break;
        case DateKind::Created:
            stamp = e.hasCreation ? e.creation : 0;
            break;
        case DateKind::Modified:
            stamp = e.lastWrite;
            break;
    }
    // A stamp's date lies in its upper half: the answer is worked out once per day.
    quint8& known = stamp ? inRange_[stamp >> 16] : inRange_[0];
    if (stamp == 0 || known == kUnknown) {
        const bool in =
            QinDateRange(entryDate(e, options_.what), options_.when, options_.start, options_.end);
        if (stamp != 0) {
            const DosStampParts p = unpackDosStamp(stamp);
            // A half that is no calendar date falls back to the time itself: not kept.
            known = QDate(p.year, p.month, p.day).isValid() ? (in ? kIn : kOut) : kAsk;
        }
        return in;
    }
    if (known == kAsk)
        return QinDateRange(entryDate(e, options_.what), options_.when, options_.start,
                            options_.end);
    return known == kIn;
}

void DateCollection::setRange(DateRange when) {
    options_.when = when;
    std::fill(inRange_.begin(), inRange_.end(), kUnknown);
}

ResultRecord DateCollection::recordOf(const WalkFile& file) {
    const DirEntry& e = file.entry;
    ResultRecord r;
    r.setPath(file.path(), file.folder.size());
    r.size = e.size;
    r.modified = e.lastWrite;
    r.accessed = e.lastAccess;
    r.created = e.hasCreation ? e.creation : 0;
    r.type = typeTexts_->typeOf(e.name);
    return r;
}

void DateCollection::collect(const WalkFile& file) {
    pending_.push_back(recordOf(file));
    ++count_;
}

std::vector<ResultRecord> DateCollection::takeNew() {
    std::vector<ResultRecord> out;
    out.swap(pending_);
    return out;
}

DateRun runDateFinder(const std::vector<ScanTarget>& targets, const DateOptions& options,
                      WalkProgress& progress, StopToken& stop) {
    DateCollection collection(options);
    WalkOptions walkOptions = collection.walkOptions();
    walkOptions.capacity = WalkOptions::kUnlimited;
    walkOptions.sliceMs = 0;
    TreeWalk walk(walkOptions, collection, progress, stop);
    walk.scanTargets(targets);
    DateRun run;
    run.columns = collection.foundColumns();
    run.records = collection.takeNew();
    run.summary = walk.summary();
    return run;
}

}  // namespace vastel
