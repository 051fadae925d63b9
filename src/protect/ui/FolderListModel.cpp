#include "protect/ui/FolderListModel.h"

#include "platform/NativePath.h"
#include "protect/FolderEntry.h"

#include <QFont>
#include <algorithm>

namespace vastel {

int FolderListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(entries_.size());
}

QVariant FolderListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= entries_.size()) return {};
    const QByteArray& e = entries_[index.row()];
    switch (role) {
        case Qt::DisplayRole:
        case Qt::ToolTipRole:
            return displayPath(e);
        case Qt::FontRole:
            if (isTreeEntry(e)) {
                QFont bold;
                bold.setBold(true);  // resolved against the view's font: only the weight changes
                return bold;
            }
            return {};
        default:
            return {};
    }
}

void FolderListModel::setEntries(const QByteArrayList& entries) {
    beginResetModel();
    entries_ = entries;
    endResetModel();
}

int FolderListModel::append(const QByteArray& entry) {
    const int row = int(entries_.size());
    beginInsertRows(QModelIndex(), row, row);
    entries_.append(entry);
    endInsertRows();
    return row;
}

void FolderListModel::setEntry(int row, const QByteArray& entry) {
    if (row < 0 || row >= entries_.size()) return;
    entries_[row] = entry;
    Q_EMIT dataChanged(index(row), index(row));
}

void FolderListModel::removeEntries(QList<int> rows) {
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (int row : rows) {
        if (row < 0 || row >= entries_.size()) continue;
        beginRemoveRows(QModelIndex(), row, row);
        entries_.removeAt(row);
        endRemoveRows();
    }
}

void FolderListModel::sortEntries() {
    Q_EMIT layoutAboutToBeChanged();
    sortFolderEntries(entries_);
    Q_EMIT layoutChanged();
}

int FolderListModel::sortedPosition(const QByteArray& entry) const {
    return int(std::lower_bound(entries_.begin(), entries_.end(), entry,
                                [](const QByteArray& a, const QByteArray& b) {
                                    return compareNoCase(a, b) < 0;
                                }) -
               entries_.begin());
}

bool FolderListModel::containsSorted(const QByteArray& entry) const {
    const int at = sortedPosition(entry);
    return at < entries_.size() && equalNoCase(entries_[at], entry);
}

int FolderListModel::insertSorted(const QByteArray& entry) {
    const int row = sortedPosition(entry);
    beginInsertRows(QModelIndex(), row, row);
    entries_.insert(row, entry);
    endInsertRows();
    return row;
}

}  // namespace vastel
