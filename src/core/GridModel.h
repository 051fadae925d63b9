#pragma once

#include "core/GridRow.h"
#include "core/ResultColumns.h"
#include "core/ResultRecord.h"

#include <QAbstractTableModel>
#include <QVariant>
#include <memory>
#include <vector>

namespace vastel {

// A result grid: header texts over a vector of whole rows. The rows are either text rows
// (GridRow) or result records with the column table that makes their texts when they are drawn
// (setRecords); clear() empties the grid back to text rows. The grid's header row is the view's
// header, so model row 0 is the first data row. There is no limit on the number of rows.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Role {
        MarkRole = Qt::UserRole + 1,  // bool: the row is marked
        PathRole,                     // QByteArray: the row's native path
        ShadeRole,                    // int: the row's GridShade
        // bool: the cell carries the marker of a record that shares its file with another row
        // (in the column table's sharedFileColumn); its tool tip is sharedFileTip().
        SharedFileRole,
    };

    explicit GridModel(const QStringList& headers = {}, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool removeRows(int row, int count, const QModelIndex& parent = {}) override;

    // Columns. Setting the headers sets the column count and resets the model.
    void setHeaders(const QStringList& headers);
    const QStringList& headers() const { return headers_; }
    void setColumnAlignment(int column, Qt::Alignment alignment);
    // The column whose cell shows the mark glyph of a marked row (-1: none).
    void setMarkColumn(int column);
    int markColumn() const { return markColumn_; }
    void setMarkGlyph(const QVariant& decoration);  // a QIcon or QPixmap

    // Rows. A cell of a record is made by the column table on every call.
    QString cell(int row, int column) const;
    // Text rows. row() is there only while the grid holds text rows; on a grid of records the
    // others do nothing (takeRows returns none).
    const GridRow& row(int row) const { return rows_[size_t(row)]; }
    void setCell(int row, int column, const QString& text);
    void setRow(int row, GridRow value);
    void appendRow(GridRow value);
    void appendRows(std::vector<GridRow> rows);  // one insertion for the whole batch
    std::vector<GridRow> takeRows();             // empties the grid
    void clear();

    // Records. setRecords replaces every row with one insertion; appendRecords adds a batch to
    // a grid that holds records already. record() is there only while it does.
    void setRecords(std::shared_ptr<const ResultColumns> columns,
                    std::vector<ResultRecord> records);
    void appendRecords(std::vector<ResultRecord> records);
    std::vector<ResultRecord> takeRecords();  // empties the grid
    const ResultColumns* columns() const { return columns_.get(); }
    std::shared_ptr<const ResultColumns> sharedColumns() const { return columns_; }
    const ResultRecord& record(int row) const { return records_[size_t(row)]; }

    // Marks, shades and paths.
    bool isMarked(int row) const {
        return columns_ ? records_[size_t(row)].marked : rows_[size_t(row)].marked;
    }
    void setMarked(int row, bool marked);
    void clearMarks();
    // Marks or unmarks every row with one change notification (Mark all on a million rows).
    void setAllMarked(bool marked);
    GridShade shade(int row) const {
        return columns_ ? records_[size_t(row)].shade : rows_[size_t(row)].shade;
    }
    void setShade(int row, GridShade shade);
    QByteArray path(int row) const {
        return columns_ ? records_[size_t(row)].path() : rows_[size_t(row)].path;
    }
    static QString sharedFileTip();

    // Moves rows whole: afterwards row first + k holds the row that was at order[k]. order must
    // be a permutation of first .. first + order.size() - 1. Selections follow their rows.
    void reorderRows(int first, const std::vector<int>& order);

  private:
    void rowChanged(int row);
    bool sharesFile(int row, int column) const;
    int size() const { return int(columns_ ? records_.size() : rows_.size()); }
    // Calls f with whichever vector holds the rows; both row types have marked, shade, path.
    template <typename F>
    decltype(auto) withRows(F&& f) {
        return columns_ ? f(records_) : f(rows_);
    }
    template <typename Rows>
    void reorder(Rows& rows, int first, const std::vector<int>& order);

    QStringList headers_;
    std::vector<Qt::Alignment> alignments_;
    std::vector<GridRow> rows_;
    std::vector<ResultRecord> records_;
    std::shared_ptr<const ResultColumns> columns_;  // set while the grid holds records
    int markColumn_ = -1;
    QVariant markGlyph_;
};

}  // namespace vastel
