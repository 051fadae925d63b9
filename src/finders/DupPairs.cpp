#include "finders/DupPairs.h"

#include "core/GridModel.h"
#include "finders/DupFinder.h"

#include <cstring>

namespace vastel {

namespace {

QByteArrayView nameOf(const ResultRecord& r) { return r.name(); }

bool isAscii(QByteArrayView bytes) {
    for (char c : bytes)
        if (uchar(c) >= 0x80) return false;
    return true;
}

}  // namespace

void DupPairs::copyFrom(const GridModel& model) {
    records_.clear();
    rows_.clear();
    shades_.clear();
    columns_ = model.sharedColumns();
    const int n = model.rowCount();
    shades_.reserve(size_t(n));
    for (int r = 0; r < n; ++r) shades_.push_back(model.shade(r));
    if (columns_) {
        records_.reserve(size_t(n));
        for (int r = 0; r < n; ++r) records_.push_back(model.record(r));
    } else {
        rows_.reserve(size_t(n));
        for (int r = 0; r < n; ++r) rows_.push_back(model.row(r));
    }
}

int DupPairs::rowCount() const { return int(columns_ ? records_.size() : rows_.size()); }

QString DupPairs::cell(int row, int column) const {
    if (row < 0 || row >= rowCount()) return {};
    if (columns_) return columns_->text(records_[size_t(row)], column);
    return rows_[size_t(row)].cell(column);
}

QByteArray DupPairs::path(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return columns_ ? records_[size_t(row)].path() : rows_[size_t(row)].path;
}

GridShade DupPairs::shade(int row) const {
    if (row < 0 || row >= int(shades_.size())) return GridShade::None;
    return shades_[size_t(row)];
}

bool DupPairs::sameCells(int a, int b, int column, bool caseless) const {
    return cell(a, column).compare(cell(b, column),
                                   caseless ? Qt::CaseInsensitive : Qt::CaseSensitive) == 0;
}

// The records' values decide where equal values give equal texts, so that stepping over many
// rows makes no texts; only where values differ but texts might not are the texts compared.
bool DupPairs::sameName(int a, int b) const {
    if (!columns_) return sameCells(a, b, Filename, true);
    const QByteArrayView na = nameOf(records_[size_t(a)]), nb = nameOf(records_[size_t(b)]);
    if (na.size() == nb.size() && qstrnicmp(na.data(), nb.data(), size_t(na.size())) == 0)
        return true;
    if (isAscii(na) && isAscii(nb)) return false;
    return sameCells(a, b, Filename, true);
}

bool DupPairs::sameSize(int a, int b) const {
    if (!columns_) return sameCells(a, b, Size);
    return records_[size_t(a)].size == records_[size_t(b)].size;
}

bool DupPairs::sameModified(int a, int b) const {
    if (columns_ && records_[size_t(a)].modified == records_[size_t(b)].modified) return true;
    return sameCells(a, b, Modified) && sameCells(a, b, Time);
}

bool DupPairs::sameType(int a, int b) const {
    if (columns_ && records_[size_t(a)].type == records_[size_t(b)].type) return true;
    return sameCells(a, b, Type);
}

bool DupPairs::qPairMatches(int a, int matchMode) const {
    const int b = a + 1;
    if (a < 0 || b >= rowCount()) return false;
    switch (matchMode) {
        case 0:
            return sameName(a, b);
        case 1:
            return sameName(a, b) && sameSize(a, b);
        case 2:
            return sameName(a, b) && sameSize(a, b) && sameModified(a, b);
        case 3:
            return sameSize(a, b);
        case 4:
            return sameSize(a, b) && sameModified(a, b);
        case 5:
            return sameSize(a, b) && sameType(a, b);
        case 6:
            return sameType(a, b) && sameModified(a, b);
        case kContentMatchMode:
            return shade(a) != GridShade::None && shade(a) == shade(b);
        default:
            return false;
    }
}

int DupPairs::GetNextDupRow(int r, int matchMode) const {
    // A pair needs a row below it: the last row to try is the last but one.
    for (int i = r + 1; i + 1 < rowCount(); ++i)
        if (qPairMatches(i, matchMode)) return i;
    return -1;
}

int DupPairs::GetPrevDupRow(int r, int matchMode) const {
    if (r < 1 || r >= rowCount()) return -1;
    int i = r - 1;
    while (i > 0 && !qPairMatches(i, matchMode)) --i;
    return i;
}

}  // namespace vastel
