#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QtGlobal>
#include <vector>

namespace vastel {

// The rules by which one file lands in the tallies of a statistics run.

// Type records keep extensions of at most this many characters, dot included.
inline constexpr int kMaxTypeExtension = 5;

// The size bucket 1..12: up to 16 KB is 1, then one bucket per doubling, above 16 MB is 12.
int sizeBucket(qint64 size);
// The age bucket 0..9 of an age in days (-1, no date, is bucket 0).
int ageToIndex(int days);
// The half-hour slot 0..47 of a packed stamp's time of day, -1 for a stamp of 0. A stamp that
// is not a valid date and time reads as 1 January 1980, 00:00, which is slot 0.
int halfHourSlot(quint32 stamp);
// The bucket's slack: what a file of `size` bytes leaves unused in its last cluster.
inline qint64 clusterWaste(qint64 size, qint64 cluster) {
    const qint64 r = size % cluster;
    return r == 0 ? 0 : cluster - r;
}

// A file name's extension from its last dot, dot included; empty when there is none.
QByteArrayView fileExtension(QByteArrayView name);
// Characters of an extension (UTF-8 sequences count once).
int extensionLength(QByteArrayView extension);
// The extension of a type-list line "pattern<TAB>description": from the pattern's second
// character to the tab, in lower case ("*.doc" gives ".doc").
QString extractExtension(const QString& line);

// The cluster size assumed for a volume of `totalBytes` capacity; small volumes use the
// volume's own block size `measured`.
qint64 clusterSizeFor(double totalBytes, qint64 measured);

// Ages in days of packed stamps against one "today", fixed when the table is made, so that a
// run across midnight buckets every file against the same day. The age depends on the
// stamp's date half only (a valid time assumed), so the ages of all dates are worked out once.
class AgeTable {
  public:
    explicit AgeTable(const QDate& today);
    // ageInDays: -1 for 0; a date in the future counts as far as a date in the past.
    int ageInDays(quint32 stamp) const;
    int bucket(quint32 stamp) const { return ageToIndex(ageInDays(stamp)); }

  private:
    std::vector<qint32> ages_;  // by the stamp's high 16 bits; -2 for an invalid date
    int fallbackAge_ = 0;       // the age of 1 January 1980
};

}  // namespace vastel
