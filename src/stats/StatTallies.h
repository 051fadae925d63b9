#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <array>
#include <vector>

namespace vastel {

// One line of the type listing: an extension in upper case with its dot (empty for names
// without one), the files counted under it and their bytes.
struct TypeRecord {
    QByteArray extension;
    qint64 count = 0;
    qint64 bytes = 0;
    // "extension<TAB>count<TAB>bytes", the record as the hidden sorted list holds it.
    QString line() const;
};

// Every tally of a statistics run. Counts and bytes are 64-bit integers: a file of 2 GiB or
// more, or a run of more than 2^31 files or bytes, is counted exactly. Arrays are indexed as
// their buckets are numbered: sizes 1..12 (index 0 unused), ages 0..9, half-hour slots 0..47
// (slot 0 is never counted). Only files that passed the file-type filter reach the tallies
// after filesSelected; the waste tallies grow only in runs of one target.
struct StatTallies {
    static constexpr int kSizeBuckets = 12;  // 1..12
    static constexpr int kAgeBuckets = 10;   // 0..9
    static constexpr int kSlots = 48;        // 0..47

    using SizeTally = std::array<qint64, kSizeBuckets + 1>;
    using AgeTally = std::array<qint64, kAgeBuckets>;
    using SlotTally = std::array<qint64, kSlots>;

    SizeTally sizeCount{}, sizeBytes{};
    AgeTally accessCount{}, accessBytes{};
    AgeTally createCount{}, createBytes{};
    AgeTally modifyCount{}, modifyBytes{};
    SlotTally hourAccessed{}, hourCreated{}, hourModified{};
    qint64 nHidden = 0, nReadOnly = 0, nSystem = 0, nArchive = 0;
    qint64 szHidden = 0, szReadOnly = 0, szSystem = 0, szArchive = 0;
    qint64 waste4K = 0, waste8K = 0, waste16K = 0, waste32K = 0, waste64K = 0;
    qint64 filesProcessed = 0;  // files the walk saw, selected or not
    qint64 filesSelected = 0;   // files that passed the file-type filter
    // Sorted by extension (byte order of the upper-case text; the empty extension first).
    std::vector<TypeRecord> types;

    // Everything back to zero and no type records (clearVariables).
    void clear() { *this = StatTallies(); }

    // The index of the record of an upper-case extension, or -1 (binary search).
    int findType(QByteArrayView extension) const;
    // Counts one file of `size` bytes under the extension (upper-cased here). With listOnly
    // nothing is counted, but a missing record is added with count 0, so that a chosen type
    // that no file has still shows. Extensions longer than 5 characters, dot included, are
    // not recorded (.HTML is, .CLASS is not).
    void insertType(QByteArrayView extension, qint64 size, bool listOnly);
};

}  // namespace vastel
