#pragma once

#include "core/GridRow.h"

#include <QAbstractTableModel>
#include <QVariant>
#include <vector>

namespace vastel {

// A result grid: header texts over a vector of whole rows. The grid's header row is the view's
// header, so model row 0 is the first data row. There is no limit on the number of rows.
class GridModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Role {
        MarkRole = Qt::UserRole + 1,  // bool: the row is marked
        PathRole,                     // QByteArray: the row's native path
        ShadeRole,                    // int: the row's GridShade
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

    // Rows.
    const GridRow& row(int row) const { return rows_[size_t(row)]; }
    const QString& cell(int row, int column) const { return rows_[size_t(row)].cell(column); }
    void setCell(int row, int column, const QString& text);
    void setRow(int row, GridRow value);
    void appendRow(GridRow value);
    void appendRows(std::vector<GridRow> rows);  // one insertion for the whole batch
    std::vector<GridRow> takeRows();             // empties the grid
    void clear();

    // Marks, shades and paths.
    bool isMarked(int row) const { return rows_[size_t(row)].marked; }
    void setMarked(int row, bool marked);
    void clearMarks();
    // Marks or unmarks every row with one change notification (Mark all on a million rows).
    void setAllMarked(bool marked);
    GridShade shade(int row) const { return rows_[size_t(row)].shade; }
    void setShade(int row, GridShade shade);
    const QByteArray& path(int row) const { return rows_[size_t(row)].path; }

    // Moves rows whole: afterwards row first + k holds the row that was at order[k]. order must
    // be a permutation of first .. first + order.size() - 1. Selections follow their rows.
    void reorderRows(int first, const std::vector<int>& order);

  private:
    void rowChanged(int row);

    QStringList headers_;
    std::vector<Qt::Alignment> alignments_;
    std::vector<GridRow> rows_;
    int markColumn_ = -1;
    QVariant markGlyph_;
};

}  // namespace vastel
