#pragma once

#include <QString>
#include <QtGlobal>

namespace vastel {

// Bytes per megabyte in the charts' units (listings show bytes).
constexpr double kStatMegabyte = 1048576.0;

// The labels of the buckets, the same in listings and charts: sizes 1..12 ("0 - 16K" ...
// "Over 16MB") and ages 0..9 ("Not recorded" ... "Over 4 years"). Out of range: empty.
QString sizeBucketLabel(int bucket);
QString ageBucketLabel(int bucket);

// The average file size of the type listing: numberText(bytes / files), "0" without files.
QString averageText(qint64 files, qint64 bytes);

}  // namespace vastel
