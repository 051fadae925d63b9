#include "finders/ui/FolderTreeFilter.h"

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
    // The model reports every folder's details as they arrive; re-filtering on each of those
    // changes would keep the window busy for as long as a big folder loads. Rows are filtered
    // when they are inserted, and a folder's kind never changes.
    setDynamicSortFilter(false);
}

void FolderTreeFilter::setFolders(QFileSystemModel* source) {
    folders_ = source;
    setSourceModel(source);
}

void FolderTreeFilter::setDrive(const QString& root, const QSet<QString>& mountPoints) {
    root_ = root;
    mountPoints_ = mountPoints;
    invalidateFilter();
}

bool FolderTreeFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (!folders_ || root_.isEmpty()) return true;
    const QString path = folders_->filePath(folders_->index(sourceRow, 0, sourceParent));
    if (isWithin(root_, path)) return true;  // the root or one of its ancestors
    if (!isWithin(path, root_)) return false;
    // Another file system mounted below the root is a drive of its own. A set of the mount
    // points, not a look-up per folder: a folder of many sub-folders loads in one piece.
    return !mountPoints_.contains(path);
}

}  // namespace vastel
