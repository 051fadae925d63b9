#pragma once

#include <QByteArray>
#include <QHash>

namespace vastel {

// Real paths of folders (symbolic links resolved), found one part at a time and remembered, so
// that folders which share their parents cost one look-up each.
class RealFolderCache {
  public:
    explicit RealFolderCache(qsizetype capacity = 16384) : capacity_(capacity) {}

    // The real path, with a trailing "/", of an absolute folder; empty when it does not exist
    // or is no folder. A folder given with ".." parts is resolved as the file system sees it,
    // where a link before ".." leads elsewhere than the letters say.
    QByteArray realFolder(const QByteArray& folder);
    void clear() { known_.clear(); }

  private:
    QByteArray resolve(const QByteArray& lexicalFolder);
    qsizetype capacity_;
    QHash<QByteArray, QByteArray> known_;  // only folders that exist
};

}  // namespace vastel
