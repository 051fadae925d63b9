#include "restore/ui/FolderListBox.h"

#include "core/Utility.h"
#include "platform/DirEntry.h"
#include "platform/NativePath.h"
#include "platform/Volumes.h"

#include <QApplication>
#include <QComboBox>
#include <QStyle>
#include <algorithm>

namespace vastel {

namespace {

constexpr int kPathRole = Qt::UserRole + 1;

QByteArray parentOf(const QByteArray& folder) {
    const qsizetype slash = folder.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : folder.left(slash);
}

}  // namespace

FolderListBox::FolderListBox(QWidget* parent) : QListWidget(parent) {
    setUniformItemSizes(true);
    connect(this, &QListWidget::itemActivated, this, &FolderListBox::enter);
}

QByteArray FolderListBox::rowFolder(const QListWidgetItem* item) {
    return item ? item->data(kPathRole).toByteArray() : QByteArray();
}

void FolderListBox::setFolder(const QByteArray& wanted) {
    QByteArray folder = wanted.isEmpty() ? QByteArray("/") : wanted;
    while (folder.size() > 1 && folder.endsWith('/')) folder.chop(1);
    bool ok = false;
    std::vector<DirEntry> entries = listDirectory(folder, &ok);
    while (!ok && folder != "/") {
        folder = parentOf(folder);
        entries = listDirectory(folder, &ok);
    }
    const bool changed = folder != folder_;
    folder_ = folder;

    clear();
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    // The chain from the root to the folder, each one step further in.
    QByteArrayList chain;
    for (QByteArray at = folder_; at != "/"; at = parentOf(at)) chain.prepend(at);
    chain.prepend("/");
    int depth = 0;
    for (const QByteArray& path : chain) {
        const QByteArray name = path == "/" ? path : path.mid(path.lastIndexOf('/') + 1);
        auto* item = new QListWidgetItem(
            open, QString(depth * 2, QLatin1Char(' ')) + displayPath(name), this);
        item->setData(kPathRole, path);
        ++depth;
    }
    setCurrentRow(count() - 1);
    std::vector<QByteArray> children;
    for (const DirEntry& entry : entries)
        if (entry.isDirectory()) children.push_back(entry.name);
    std::sort(children.begin(), children.end(), [](const QByteArray& a, const QByteArray& b) {
        const int c = qstricmp(a.constData(), b.constData());
        return c != 0 ? c < 0 : a < b;
    });
    for (const QByteArray& name : children) {
        auto* item = new QListWidgetItem(
            closed, QString(depth * 2, QLatin1Char(' ')) + displayPath(name), this);
        item->setData(kPathRole, joinPath(folder_, name));
    }
    syncDriveBox();
    if (changed) Q_EMIT folderChanged(folder_);
}

void FolderListBox::enter(QListWidgetItem* item) {
    const QByteArray path = rowFolder(item);
    if (!path.isEmpty()) setFolder(path);
}

void FolderListBox::attachDriveBox(QComboBox* drives) {
    drives_ = drives;
    drives->clear();
    for (const Volume& volume : mountedVolumes()) {
        QString text = displayPath(volume.mountPoint);
        if (!volume.label.isEmpty()) text += QStringLiteral(" [") + volume.label + QLatin1Char(']');
        drives->addItem(text, volume.mountPoint);
    }
    connect(drives, &QComboBox::activated, this, [this](int index) {
        const QByteArray root = drives_->itemData(index).toByteArray();
        if (!root.isEmpty()) setFolder(root);
    });
    syncDriveBox();
}

void FolderListBox::syncDriveBox() {
    if (!drives_) return;
    const std::vector<Volume> volumes = mountedVolumes();
    const Volume* volume = volumeOf(folder_, volumes);
    if (!volume) return;
    const int index = drives_->findData(volume->mountPoint);
    if (index >= 0) drives_->setCurrentIndex(index);
}

}  // namespace vastel
