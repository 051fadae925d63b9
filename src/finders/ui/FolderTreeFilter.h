#pragma once

#include <QSet>
#include <QSortFilterProxyModel>
#include <QString>

class QFileSystemModel;

namespace vastel {

// Shows one drive of a file-system model: the drive's root folder and the folders below it on
// the same file system. The folders where other drives are mounted are left out (each is a
// drive of its own), and so is everything outside the drive; the root's ancestors pass, so that
// the root can be reached from the model's top.
class FolderTreeFilter : public QSortFilterProxyModel {
    Q_OBJECT
  public:
    explicit FolderTreeFilter(QObject* parent = nullptr);

    void setFolders(QFileSystemModel* source);
    // The drive's root folder (its mount point) and every mount point of the system.
    void setDrive(const QString& root, const QSet<QString>& mountPoints);
    const QString& driveRoot() const { return root_; }

  protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

  private:
    QFileSystemModel* folders_ = nullptr;
    QString root_;
    QSet<QString> mountPoints_;
};

}  // namespace vastel
