#pragma once

#include <QPixmap>
#include <QStyledItemDelegate>
#include <functional>

class QTableView;

namespace vastel {

// Paints the cells of a result grid: shade or selection background, text 2 px from the
// aligned edge, bold where the window says so, and the mark glyph in a marked row's mark column.
class ResultGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    explicit ResultGridDelegate(QObject* parent = nullptr);

    // Whether a cell's text is drawn bold (model row and column); unset: never.
    std::function<bool(int row, int column)> boldCell;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// The 16 x 16 picture of a mark, transparent around the drawing.
QPixmap markGlyph();
// The 16 x 16 picture beside a row that shares its file with another row (a hard link).
QPixmap sharedFileGlyph();

// Makes a table view a result grid: whole-row single selection, no editing, sizable columns
// with the last one stretching, fixed row height, no row header, and the delegate above.
void setupResultGrid(QTableView* grid);

}  // namespace vastel
