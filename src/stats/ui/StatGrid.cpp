#include "stats/ui/StatGrid.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

namespace vastel {

namespace {

// gridSizesDrawCell: the first column left-aligned 3 pixels in, the others right-aligned 3
// pixels in, 2 pixels below the top.
class PaddedCells : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem opt(option);
        initStyleOption(&opt, index);
        const QString text = opt.text;
        opt.text.clear();
        QStyle* style = opt.widget ? opt.widget->style() : nullptr;
        if (style) style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);
        const QRect box = option.rect.adjusted(3, 2, -3, 0);
        const Qt::Alignment align =
            (index.column() == 0 ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop;
        painter->save();
        painter->setPen(opt.palette.color(QPalette::Text));
        painter->drawText(box, int(align), text);
        painter->restore();
    }
};

}  // namespace

StatGrid::StatGrid(const QString& name, const QStringList& headers, QWidget* parent)
    : QTableView(parent), model_(headers) {
    setObjectName(name);
    setModel(&model_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
}

void StatGrid::setRowCount(int rows) {
    rows = std::max(rows, 0);
    if (rows < model_.rowCount()) {
        model_.removeRows(rows, model_.rowCount() - rows);
    } else if (rows > model_.rowCount()) {
        std::vector<GridRow> added(size_t(rows - model_.rowCount()));
        for (GridRow& row : added) row.cells = QStringList(model_.columnCount(), QString());
        model_.appendRows(std::move(added));
    }
}

void StatGrid::setPaddedCells(bool padded) {
    if (padded)
        setItemDelegate(new PaddedCells(this));
    else
        setItemDelegate(new QStyledItemDelegate(this));
}

void StatGrid::fitColumns() {
    const QFontMetrics metrics(font());
    const QFontMetrics headMetrics(horizontalHeader()->font());
    for (int c = 0; c < model_.columnCount(); ++c) {
        int width = headMetrics.horizontalAdvance(model_.headers().value(c)) + 24;
        for (int r = 0; r < model_.rowCount(); ++r)
            width = std::max(width, metrics.horizontalAdvance(model_.cell(r, c)) + 16);
        setColumnWidth(c, width);
    }
}

}  // namespace vastel
