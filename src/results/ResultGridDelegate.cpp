#include "results/ResultGridDelegate.h"

#include "core/GridModel.h"

#include <QApplication>
#include <QBitmap>
#include <QHeaderView>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
#include <QTableView>
#include <algorithm>

namespace vastel {

namespace {

constexpr int kMargin = 2;
constexpr int kGlyphSize = 16;
constexpr int kGlyphTextOffset = 18;
const QColor kTransparentColour(128, 0, 128);

bool showsMark(const QModelIndex& index) {
    const auto* model = qobject_cast<const GridModel*>(index.model());
    return model && index.column() == model->markColumn() &&
           index.data(GridModel::MarkRole).toBool();
}

// The window's own glyph when the model carries one, else the program's.
QPixmap glyphOf(const QModelIndex& index) {
    const QVariant decoration = index.data(Qt::DecorationRole);
    if (decoration.canConvert<QPixmap>()) {
        const QPixmap pixmap = decoration.value<QPixmap>();
        if (!pixmap.isNull()) return pixmap;
    }
    if (decoration.canConvert<QIcon>()) {
        const QIcon icon = decoration.value<QIcon>();
        if (!icon.isNull()) return icon.pixmap(kGlyphSize, kGlyphSize);
    }
    static const QPixmap glyph = markGlyph();
    return glyph;
}

}  // namespace

ResultGridDelegate::ResultGridDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void ResultGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    const QRect cell = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette::ColorGroup group = !(option.state & QStyle::State_Enabled) ? QPalette::Disabled
                                       : (option.state & QStyle::State_Active) ? QPalette::Active
                                                                               : QPalette::Inactive;
    painter->save();
    painter->setClipRect(cell);

    QBrush background = option.palette.brush(group, QPalette::Base);
    if (selected) {
        background = option.palette.brush(group, QPalette::Highlight);
    } else {
        const QVariant shade = index.data(Qt::BackgroundRole);
        if (shade.canConvert<QBrush>() && shade.isValid()) background = shade.value<QBrush>();
    }
    painter->fillRect(cell, background);

    QFont font = option.font;
    const QVariant fontData = index.data(Qt::FontRole);
    if (fontData.isValid()) font = fontData.value<QFont>();
    font.setBold(boldCell && boldCell(index.row(), index.column()));
    painter->setFont(font);
    painter->setPen(
        option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));

    int textLeft = cell.left() + kMargin;
    const QRect glyphRect(cell.left() + kMargin, cell.top() + kMargin, kGlyphSize, kGlyphSize);
    if (showsMark(index)) {
        painter->drawPixmap(glyphRect, glyphOf(index));
        textLeft = cell.left() + kGlyphTextOffset;
    } else if (index.data(GridModel::SharedFileRole).toBool()) {
        static const QPixmap link = sharedFileGlyph();
        painter->drawPixmap(glyphRect, link);
        textLeft = cell.left() + kGlyphTextOffset;
    }
    const QRect textRect(QPoint(textLeft, cell.top()),
                         QPoint(cell.right() - kMargin, cell.bottom()));
    const Qt::Alignment alignment =
        Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()) & Qt::AlignRight ? Qt::AlignRight
                                                                                  : Qt::AlignLeft;
    painter->drawText(textRect, int(alignment | Qt::AlignVCenter | Qt::TextSingleLine),
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QSize ResultGridDelegate::sizeHint(const QStyleOptionViewItem& option,
                                   const QModelIndex& index) const {
    QFont font = option.font;
    if (boldCell && boldCell(index.row(), index.column())) font.setBold(true);
    const QFontMetrics metrics(font);
    int width = metrics.horizontalAdvance(index.data(Qt::DisplayRole).toString()) + 2 * kMargin;
    if (showsMark(index) || index.data(GridModel::SharedFileRole).toBool())
        width += kGlyphTextOffset - kMargin;
    return {width, std::max(metrics.height(), kGlyphSize) + 2 * kMargin};
}

QPixmap markGlyph() {
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(kTransparentColour);
    {
        QPainter p(&pixmap);
        // No antialiasing: blended edges would keep a purple fringe after the mask is made.
        p.setRenderHint(QPainter::Antialiasing, false);
        // A red cross with a dark rim, so that it reads on white, grey and the highlight.
        QPen rim(QColor(96, 0, 0), 5, Qt::SolidLine, Qt::SquareCap);
        p.setPen(rim);
        p.drawLine(4, 4, 11, 11);
        p.drawLine(4, 11, 11, 4);
        QPen cross(QColor(230, 20, 20), 3, Qt::SolidLine, Qt::SquareCap);
        p.setPen(cross);
        p.drawLine(4, 4, 11, 11);
        p.drawLine(4, 11, 11, 4);
    }
    pixmap.setMask(pixmap.createMaskFromColor(kTransparentColour, Qt::MaskInColor));
    return pixmap;
}

QPixmap sharedFileGlyph() {
    QPixmap pixmap(kGlyphSize, kGlyphSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Two links of a chain: two names, one file.
    QPen pen(QColor(30, 80, 170), 2.2);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    p.translate(8, 8);
    p.rotate(-45);
    p.drawRoundedRect(QRectF(-7.5, -2.8, 9, 5.6), 2.8, 2.8);
    p.drawRoundedRect(QRectF(-1.5, -2.8, 9, 5.6), 2.8, 2.8);
    return pixmap;
}

void setupResultGrid(QTableView* grid) {
    if (!grid) return;
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setShowGrid(false);
    grid->setSortingEnabled(false);  // the window sorts through its own menu and header clicks
    grid->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid->setItemDelegate(new ResultGridDelegate(grid));

    QHeaderView* header = grid->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setStretchLastSection(true);
    header->setHighlightSections(false);
    header->setSectionsClickable(true);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // Uniform rows: the view then never measures rows, which keeps a million rows smooth.
    QHeaderView* rows = grid->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(std::max(grid->fontMetrics().height(), kGlyphSize) + 2 * kMargin);
}

}  // namespace vastel
