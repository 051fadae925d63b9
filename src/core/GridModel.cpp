#include "core/GridModel.h"

#include <QMetaType>
#include <algorithm>

namespace vastel {

namespace {

// Light grey. The engines link no GUI, so the colour is named and becomes a QColor through the
// conversion QtGui registers; where QtGui is not loaded (vastel-scan) it stays the name.
QVariant shadeAColour() {
    static const QVariant colour = [] {
        QVariant named(QStringLiteral("#dfdfdf"));
        if (QMetaType::isRegistered(QMetaType::QColor)) named.convert(QMetaType(QMetaType::QColor));
        return named;
    }();
    return colour;
}

}  // namespace

GridModel::GridModel(const QStringList& headers, QObject* parent)
    : QAbstractTableModel(parent), headers_(headers), alignments_(size_t(headers.size())) {}

int GridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : size(); }

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(headers_.size());
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    const bool marked = isMarked(row);
    const GridShade rowShade = shade(row);
    switch (role) {
        case Qt::DisplayRole:
            return cell(row, index.column());
        case Qt::TextAlignmentRole: {
            const Qt::Alignment a = alignments_[size_t(index.column())];
            return a ? QVariant(int(a | Qt::AlignVCenter)) : QVariant();
        }
        case Qt::BackgroundRole:
            return rowShade == GridShade::A ? shadeAColour() : QVariant();
        case Qt::DecorationRole:
            return marked && index.column() == markColumn_ ? markGlyph_ : QVariant();
        case SharedFileRole:
            return sharesFile(row, index.column());
        case Qt::ToolTipRole:
            return sharesFile(row, index.column()) ? QVariant(sharedFileTip()) : QVariant();
        case MarkRole:
            return marked;
        case PathRole:
            return path(row);
        case ShadeRole:
            return int(rowShade);
        default:
            return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= headers_.size()) return {};
    if (role == Qt::DisplayRole) return headers_.at(section);
    if (role == Qt::TextAlignmentRole) {
        const Qt::Alignment a = alignments_[size_t(section)];
        return a ? QVariant(int(a | Qt::AlignVCenter)) : QVariant();
    }
    return {};
}

Qt::ItemFlags GridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

bool GridModel::removeRows(int row, int count, const QModelIndex& parent) {
    if (parent.isValid() || row < 0 || count <= 0 || row + count > size()) return false;
    beginRemoveRows({}, row, row + count - 1);
    withRows([&](auto& rows) { rows.erase(rows.begin() + row, rows.begin() + row + count); });
    endRemoveRows();
    return true;
}

void GridModel::setHeaders(const QStringList& headers) {
    beginResetModel();
    headers_ = headers;
    alignments_.assign(size_t(headers.size()), Qt::Alignment());
    if (markColumn_ >= headers_.size()) markColumn_ = -1;
    endResetModel();
}

void GridModel::setColumnAlignment(int column, Qt::Alignment alignment) {
    if (column < 0 || column >= headers_.size()) return;
    alignments_[size_t(column)] = alignment;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
    if (size() > 0)
        Q_EMIT dataChanged(index(0, column), index(size() - 1, column), {Qt::TextAlignmentRole});
}

void GridModel::setMarkColumn(int column) {
    markColumn_ = column >= 0 && column < headers_.size() ? column : -1;
    if (size() > 0 && !headers_.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(size() - 1, int(headers_.size()) - 1),
                           {Qt::DecorationRole});
}

void GridModel::setMarkGlyph(const QVariant& decoration) {
    markGlyph_ = decoration;
    if (markColumn_ >= 0 && size() > 0)
        Q_EMIT dataChanged(index(0, markColumn_), index(size() - 1, markColumn_),
                           {Qt::DecorationRole});
}

QString GridModel::sharedFileTip() {
    return QStringLiteral(
        "Another row is a hard link to this file: removing only one of them "
        "frees no space");
}

bool GridModel::sharesFile(int row, int column) const {
    return columns_ && column == columns_->sharedFileColumn() && records_[size_t(row)].sharesFile;
}

QString GridModel::cell(int row, int column) const {
    if (columns_) {
        if (column < 0 || column >= columns_->count()) return {};
        return columns_->text(records_[size_t(row)], column);
    }
    return rows_[size_t(row)].cell(column);
}

void GridModel::setCell(int row, int column, const QString& text) {
    if (columns_ || row < 0 || row >= int(rows_.size()) || column < 0 || column >= headers_.size())
        return;
    QStringList& cells = rows_[size_t(row)].cells;
    while (cells.size() <= column) cells.append(QString());
    cells[column] = text;
    const QModelIndex i = index(row, column);
    Q_EMIT dataChanged(i, i, {Qt::DisplayRole});
}

void GridModel::setRow(int row, GridRow value) {
    if (columns_ || row < 0 || row >= int(rows_.size())) return;
    rows_[size_t(row)] = std::move(value);
    rowChanged(row);
}

void GridModel::appendRow(GridRow value) {
    if (columns_) return;
    const int at = int(rows_.size());
    beginInsertRows({}, at, at);
    rows_.push_back(std::move(value));
    endInsertRows();
}

void GridModel::appendRows(std::vector<GridRow> rows) {
    if (rows.empty() || columns_) return;
    const int at = int(rows_.size());
    beginInsertRows({}, at, at + int(rows.size()) - 1);
    if (rows_.empty())
        rows_.swap(rows);  // a first batch keeps its storage: no second copy of every row
    else
        rows_.insert(rows_.end(), std::make_move_iterator(rows.begin()),
                     std::make_move_iterator(rows.end()));
    endInsertRows();
}

std::vector<GridRow> GridModel::takeRows() {
    if (columns_) return {};
    beginResetModel();
    std::vector<GridRow> taken = std::move(rows_);
    rows_.clear();
    endResetModel();
    return taken;
}

void GridModel::clear() {
    if (size() == 0) {
        columns_.reset();
        return;
    }
    beginResetModel();
    rows_.clear();
    rows_.shrink_to_fit();
    records_.clear();
    records_.shrink_to_fit();
    columns_.reset();
    endResetModel();
}

void GridModel::setRecords(std::shared_ptr<const ResultColumns> columns,
                           std::vector<ResultRecord> records) {
    clear();
    if (!columns) return;
    columns_ = std::move(columns);
    appendRecords(std::move(records));
}

void GridModel::appendRecords(std::vector<ResultRecord> records) {
    if (records.empty() || !columns_) return;
    const int at = int(records_.size());
    beginInsertRows({}, at, at + int(records.size()) - 1);
    if (records_.empty())
        records_.swap(records);
    else
        records_.insert(records_.end(), std::make_move_iterator(records.begin()),
                        std::make_move_iterator(records.end()));
    endInsertRows();
}

std::vector<ResultRecord> GridModel::takeRecords() {
    beginResetModel();
    std::vector<ResultRecord> taken = std::move(records_);
    records_.clear();
    columns_.reset();
    endResetModel();
    return taken;
}

void GridModel::setMarked(int row, bool marked) {
    if (row < 0 || row >= size() || isMarked(row) == marked) return;
    withRows([&](auto& rows) { rows[size_t(row)].marked = marked; });
    rowChanged(row);
}

void GridModel::clearMarks() {
    int firstChanged = -1;
    int lastChanged = -1;
    withRows([&](auto& rows) {
        for (size_t r = 0; r < rows.size(); ++r) {
            if (!rows[r].marked) continue;
            rows[r].marked = false;
            if (firstChanged < 0) firstChanged = int(r);
            lastChanged = int(r);
        }
    });
    if (firstChanged >= 0 && !headers_.isEmpty())
        Q_EMIT dataChanged(index(firstChanged, 0), index(lastChanged, int(headers_.size()) - 1));
}

void GridModel::setAllMarked(bool marked) {
    if (size() == 0) return;
    withRows([&](auto& rows) {
        for (auto& r : rows) r.marked = marked;
    });
    if (!headers_.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(size() - 1, int(headers_.size()) - 1));
}

void GridModel::setShade(int row, GridShade shade) {
    if (row < 0 || row >= size() || this->shade(row) == shade) return;
    withRows([&](auto& rows) { rows[size_t(row)].shade = shade; });
    rowChanged(row);
}

void GridModel::reorderRows(int first, const std::vector<int>& order) {
    const int count = int(order.size());
    if (count == 0 || first < 0 || first + count > size()) return;
    std::vector<bool> seen(size_t(count), false);
    for (const int from : order) {
        if (from < first || from >= first + count || seen[size_t(from - first)]) return;
        seen[size_t(from - first)] = true;
    }

    Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    withRows([&](auto& rows) { reorder(rows, first, order); });

    // Persistent indexes (the view's selection and current row) go where their rows went.
    const QModelIndexList before = persistentIndexList();
    if (!before.isEmpty()) {
        std::vector<int> newRowOf(static_cast<size_t>(count));
        for (int k = 0; k < count; ++k) newRowOf[size_t(order[size_t(k)] - first)] = first + k;
        QModelIndexList after;
        after.reserve(before.size());
        for (const QModelIndex& i : before) {
            const int r = i.row();
            const bool inRange = r >= first && r < first + count;
            after.append(inRange ? index(newRowOf[size_t(r - first)], i.column()) : i);
        }
        changePersistentIndexList(before, after);
    }
    Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

template <typename Rows>
void GridModel::reorder(Rows& rows, int first, const std::vector<int>& order) {
    // Follow the permutation's cycles in place: no second copy of a million rows is made.
    const int count = int(order.size());
    std::vector<bool> placed(size_t(count), false);
    for (int start = 0; start < count; ++start) {
        if (placed[size_t(start)]) continue;
        auto held = std::move(rows[size_t(first + start)]);
        int to = start;
        for (;;) {
            placed[size_t(to)] = true;
            const int from = order[size_t(to)] - first;
            if (from == start) {
                rows[size_t(first + to)] = std::move(held);
                break;
            }
            rows[size_t(first + to)] = std::move(rows[size_t(first + from)]);
            to = from;
        }
    }
}

void GridModel::rowChanged(int row) {
    if (headers_.isEmpty()) return;
    Q_EMIT dataChanged(index(row, 0), index(row, int(headers_.size()) - 1));
}

}  // namespace vastel
