#pragma once

#include <QAbstractListModel>
#include <QByteArrayList>

namespace vastel {

// The Safe Harbor window's folder list: entries as path bytes, shown as text, tree entries in
// bold. While sorted (during a build) it inserts in order and finds entries by binary search.
class FolderListModel : public QAbstractListModel {
    Q_OBJECT
  public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    const QByteArrayList& entries() const { return entries_; }
    QByteArray entry(int row) const { return entries_.value(row); }
    void setEntries(const QByteArrayList& entries);
    int append(const QByteArray& entry);
    void setEntry(int row, const QByteArray& entry);
    void removeEntries(QList<int> rows);
    // Ascending without regard to case.
    void sortEntries();

    // On a sorted list: an entry equal without regard to case is there; the place of a new one.
    bool containsSorted(const QByteArray& entry) const;
    int insertSorted(const QByteArray& entry);

  private:
    int sortedPosition(const QByteArray& entry) const;
    QByteArrayList entries_;
};

}  // namespace vastel
