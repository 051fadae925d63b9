#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <vector>

namespace vastel {

// A sorted list of folder entries in upper case, searched by binary search. Entries are ordered
// by their stem (a tree entry without its marker) in the order of compareFolderEntry, so that
// the comparison that sorts is the one that searches. Every entry keeps the index of the
// nearest tree entry above it, so that a folder below a tree entry is found even when other
// entries below that tree entry lie between it and the folder.
class FolderList {
  public:
    FolderList() = default;
    explicit FolderList(const QByteArrayList& entries) { assign(entries); }

    // Replaces the content: upper case, sorted, exact duplicates dropped.
    void assign(const QByteArrayList& entries);
    void clear();
    // Adds one entry in its sorted place unless it is already there; false when it was.
    bool add(const QByteArray& entry);

    qsizetype count() const { return qsizetype(items_.size()); }
    bool isEmpty() const { return items_.empty(); }
    QByteArray at(qsizetype i) const;
    QByteArrayList entries() const;
    // An entry equal to the given one without regard to case is there.
    bool contains(const QByteArray& entry) const;

    // The index of an entry that protects the folder (upper or any case, with a trailing
    // "/"), or -1: a plain entry equal to it or a tree entry whose stem begins it.
    int find(const QByteArray& folder) const;

    // Changes with every change of the content, for callers that cache results.
    quint64 generation() const { return generation_; }

  private:
    // The entries' bytes lie one after another in sorted order, so that the last steps of a
    // search read memory that is already at hand.
    struct Item {
        quint32 offset = 0;
        quint32 size = 0;
        quint32 keySize = 0;    // the stem's size
        qint32 enclosing = -1;  // the nearest tree entry before it whose stem begins its stem
        bool tree = false;
    };
    const char* data(const Item& item) const { return bytes_.constData() + item.offset; }
    void pack(std::vector<QByteArray>& sorted);
    QByteArray bytes_;
    std::vector<Item> items_;
    quint64 generation_ = 0;
};

// The binary search of the Safe Harbor: the index of the entry of the list that protects the
// folder, or -1.
int findInFolderList(const QByteArray& folder, const FolderList& list);

}  // namespace vastel
