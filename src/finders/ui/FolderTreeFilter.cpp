#include "finders/ui/FolderTreeFilter.h"

#include "platform/FolderReader.h"
#include "platform/NativePath.h"

#include <QFileSystemModel>

namespace vastel {

namespace {

// `inner` is `outer` or lies below it, by whole path components.
bool isWithin(const QString& inner, const QString& outer) {
    if (inner == outer) return true;
    if (outer == QLatin1String("/")) return inner.startsWith(QLatin1Char('/'));
    return inner.size() > outer.size() && inner.startsWith(outer) &&
           inner.at(outer.size()) == QLatin1Char('/');
}

}  // namespace

FolderTreeFilter::FolderTreeFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    setRecursiveFilteringEnabled(false);
}

void FolderTreeFilter::setFolders(QFileSystemModel* source) {
    folders_ = source;
    setSourceModel(source);
}

void FolderTreeFilter::setDrive(const QString& root) {
    root_ = root;
    mountRoots_.clear();
    invalidateFilter();
}

bool FolderTreeFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (!folders_ || root_.isEmpty()) return true;
    const QString path = folders_->filePath(folders_->index(sourceRow, 0, sourceParent));
    if (isWithin(root_, path)) return true;  // the root or one of its ancestors
    if (!isWithin(path, root_)) return false;
    // Another file system mounted below the root is a drive of its own.
    auto it = mountRoots_.constFind(path);
    if (it == mountRoots_.constEnd()) it = mountRoots_.insert(path, isMountRoot(nativePath(path)));
    return !it.value();
}

}  // namespace vastel
