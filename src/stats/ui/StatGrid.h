#pragma once

#include "core/GridModel.h"

#include <QTableView>

namespace vastel {

// A read-only listing of the statistics pages: the heading row is the view's header, model row
// 0 is the first data row. A click selects nothing. With padded cells (the Sizes, age and
// Combined listings) the first column is drawn 3 pixels from the left edge and the others 3
// pixels from the right edge, 2 pixels below the top; otherwise the model's column alignments
// hold.
class StatGrid : public QTableView {
    Q_OBJECT
  public:
    StatGrid(const QString& name, const QStringList& headers, QWidget* parent = nullptr);

    GridModel& grid() { return model_; }
    const GridModel& grid() const { return model_; }

    // Rows are text rows; setRowCount keeps the rows that stay and adds empty ones.
    void setRowCount(int rows);
    int rowCount() const { return model_.rowCount(); }
    void setCell(int row, int column, const QString& text) { model_.setCell(row, column, text); }
    QString cell(int row, int column) const { return model_.cell(row, column); }

    // The drawing of the Sizes, age and Combined listings.
    void setPaddedCells(bool padded);

    // Column widths that fit the texts of the heading and of every row.
    void fitColumns();

  private:
    GridModel model_;
};

}  // namespace vastel
