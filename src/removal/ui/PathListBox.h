#pragma once

#include <QByteArray>
#include <QList>
#include <QListWidget>

namespace vastel {

// A sorted, multi-select list of file paths. Every row carries the path's exact bytes; its
// text is only derived from them for display. Rows sort without regard to case.
class PathListBox : public QListWidget {
    Q_OBJECT
  public:
    static constexpr int PathRole = Qt::UserRole + 1;

    explicit PathListBox(QWidget* parent = nullptr);

    // Replaces the content.
    void setPaths(const QList<QByteArray>& paths);
    // Adds paths, keeping the list sorted.
    void addPaths(const QList<QByteArray>& paths);
    // All paths in list order.
    QList<QByteArray> paths() const;
    QByteArray pathAt(int row) const;
    // Removes the selected rows and gives their paths, in list order.
    QList<QByteArray> takeSelectedPaths();
    bool hasSelection() const { return !selectedItems().isEmpty(); }

    // The text shown for a path: control characters are shown escaped ("\t", "\n").
    static QString rowText(const QByteArray& path);
};

}  // namespace vastel
