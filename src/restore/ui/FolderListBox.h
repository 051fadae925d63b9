#pragma once

#include <QByteArray>
#include <QListWidget>

class QComboBox;

namespace vastel {

// A folder list in the manner of a directory list box: the current folder's chain from "/"
// down, then its sub-folders; a double click (or Enter) moves into the folder. Paths are kept
// as exact bytes; the text shown is derived from them.
class FolderListBox : public QListWidget {
    Q_OBJECT
  public:
    explicit FolderListBox(QWidget* parent = nullptr);

    const QByteArray& folder() const { return folder_; }
    // Shows a folder; one that cannot be listed falls back to its nearest listable parent.
    void setFolder(const QByteArray& folder);
    void refresh() { setFolder(folder_); }
    // The folder of a row.
    static QByteArray rowFolder(const QListWidgetItem* item);

    // Fills a drive box with the mounted volumes and keeps it and this list in step.
    void attachDriveBox(QComboBox* drives);

  Q_SIGNALS:
    void folderChanged(const QByteArray& folder);

  private:
    void enter(QListWidgetItem* item);
    void syncDriveBox();
    QByteArray folder_;
    QComboBox* drives_ = nullptr;
};

}  // namespace vastel
