#pragma once

#include "core/ResultRecord.h"

#include <QString>
#include <functional>
#include <memory>
#include <string>

namespace vastel {

// A size's number key: the digits of its text without separators, the sign dropped.
inline quint64 sizeKey(qint64 size) { return size < 0 ? 0 - quint64(size) : quint64(size); }

// The columns of a grid of result records: the text of each cell, made when it is asked for,
// and the sort keys of a column. A key read from a cell's text orders exactly like the key the
// text grids read (SortGrid's textKey, numberKey, dateKey); a finder's table overrides that with
// keys taken from the values where they give the same order. A table is used from one thread,
// the grid's: it may remember texts it has made.
class ResultColumns {
  public:
    virtual ~ResultColumns();

    virtual int count() const = 0;
    virtual QString text(const ResultRecord& record, int column) const = 0;

    // Made once per sort, so that they may keep what they learn over the sort's rows.
    using NumberKeyOf = std::function<long double(const ResultRecord&)>;
    using DateKeyOf = std::function<double(const ResultRecord&)>;
    using TextKeyOf = std::function<std::string(const ResultRecord&)>;
    virtual NumberKeyOf numberKeyOf(int column) const;
    virtual DateKeyOf dateKeyOf(int column) const;
    virtual TextKeyOf textKeyOf(int column) const;
    // Where a column holds whole numbers only: a key that orders as numberKeyOf does, in half
    // the room (a million rows sort in a narrower scratch table). Empty for other columns.
    using WholeKeyOf = std::function<quint64(const ResultRecord&)>;
    virtual WholeKeyOf wholeNumberKeyOf(int column) const { return {}; }

    // The column whose cell carries the marker of a record that shares its file with another
    // row (ResultRecord::sharesFile); -1: no marker.
    virtual int sharedFileColumn() const { return -1; }

    // The storage that records with stored paths point into, kept as long as the table is.
    void keepPaths(std::shared_ptr<const void> storage) { pathStorage_ = std::move(storage); }

  private:
    std::shared_ptr<const void> pathStorage_;
};

}  // namespace vastel
