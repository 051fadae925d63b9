// The drive box and the folder tree of the disk and folder browser: which folder is current.
#include "core/DriveEntries.h"
#include "finders/BrowseListing.h"
#include "finders/BrowseTexts.h"
#include "finders/TfrmBrowse.h"
#include "finders/ui/FolderTreeFilter.h"
#include "platform/DirEntry.h"
#include "platform/FileRemoval.h"
#include "platform/NativePath.h"

#include <QComboBox>
#include <QFileSystemModel>
#include <QSet>
#include <QTimer>
#include <QTreeView>

namespace vastel {

// ---- Folder and drive ----

void TfrmBrowse::fillDrives() {
    const QSignalBlocker quiet(DriveCombobox1);
    DriveCombobox1->clear();
    for (const Volume& v : volumes_)
        DriveCombobox1->addItem(driveEntryText(v, false), v.mountPoint);
}

void TfrmBrowse::showDriveOf(const QByteArray& folder) {
    const Volume* volume = volumeOf(folder, volumes_);
    const QByteArray root = volume ? volume->mountPoint : QByteArray("/");
    {
        const QSignalBlocker quiet(DriveCombobox1);
        DriveCombobox1->setCurrentIndex(DriveCombobox1->findData(root));
    }
    if (root == driveRoot_) return;
    driveRoot_ = root;
    const QString rootText = displayPath(root);
    folderModel->setRootPath(rootText);
    QSet<QString> mountPoints;
    for (const QByteArray& point : allMountPoints()) mountPoints.insert(displayPath(point));
    folderFilter->setDrive(rootText, mountPoints);
    // The tree starts at the drive's root folder itself, shown as its one top item.
    const QModelIndex top =
        root == "/" ? QModelIndex() : folderModel->index(displayPath(parentFolderPath(root)));
    DirectoryListBox1->setRootIndex(folderFilter->mapFromSource(top));
}

void TfrmBrowse::selectInTree(const QByteArray& folder) {
    const QModelIndex at = folderFilter->mapFromSource(folderModel->index(displayPath(folder)));
    if (!at.isValid()) return;
    changingFolder_ = true;
    DirectoryListBox1->setCurrentIndex(at);
    sinceFolderChange_.start();
    DirectoryListBox1->expand(at);
    DirectoryListBox1->scrollTo(at);
    changingFolder_ = false;
}

void TfrmBrowse::changeFolder(const QByteArray& folder) {
    folder_ = nearestExistingFolder(trimmedFolderPath(folder));
    showDriveOf(folder_);
    selectInTree(folder_);
    DirectoryListBox1Change();
}

void TfrmBrowse::treeCurrentChanged() {
    if (changingFolder_) return;
    const QModelIndex current = folderFilter->mapToSource(DirectoryListBox1->currentIndex());
    if (!current.isValid()) return;
    // The tree moves its selection away from a folder that vanished: go up instead.
    if (!folderEntryExists(folder_)) {
        QTimer::singleShot(0, this, [this] { changeFolder(folder_); });
        return;
    }
    const QByteArray chosen = folderOfDisplayText(folderModel->filePath(current));
    if (chosen == folder_) return;
    folder_ = chosen;
    DirectoryListBox1Change();
}

void TfrmBrowse::DriveCombobox1Change(int index) {
    const QByteArray root = DriveCombobox1->itemData(index).toByteArray();
    if (root.isEmpty() || !driveReady(root)) {
        // An unready drive changes nothing.
        showDriveOf(folder_);
        return;
    }
    changeFolder(root);
}

void TfrmBrowse::folderRowsRemoved() {
    if (folderEntryExists(folder_)) return;
    // Not from within the model's signal: the refresh changes the tree's selection.
    QTimer::singleShot(0, this, [this] {
        if (!folderEntryExists(folder_)) changeFolder(folder_);
    });
}

}  // namespace vastel
