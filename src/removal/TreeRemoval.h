#pragma once

#include "platform/DirEntry.h"
#include "platform/FolderHandle.h"
#include "removal/ZipArchiver.h"

#include <QByteArray>
#include <functional>

namespace vastel {

// Walks a folder tree and deletes, trashes or zips what it holds, asking before it deletes a
// read-only, hidden or system file. The walk goes through opened folders and never follows a
// link: a link in the tree is handled as the link itself, and a folder on another file system
// (a mount) is not entered.
class TreeRemoval {
  public:
    enum class Mode { Delete, Recycle, Zip };
    struct Result {
        qint64 count = 0;  // files visited
        qint64 bytes = 0;
        bool complete = true;  // false when a question was declined or the walk was aborted
    };

    Mode mode = Mode::Delete;
    bool deleteAfterZip = true;  // "Delete files after zipping them up"
    QByteArray archivePath;      // Zip: the one archive of this tree
    QByteArray comment;
    // The program-wide abort flag; set by the window's Cancel, read between entries.
    bool* abortFlag = nullptr;
    std::function<void(qint64 count, const QByteArray& path)> onFile;
    std::function<void(int percent)> onMemberProgress;
    std::function<void()> pump;  // lets pending window messages run

    // Walks the folder `name` of parent (whose path is parentPath) and, unless files are kept
    // after zipping, removes the folders it empties, the folder itself included.
    Result deltree(const FolderHandle& parent, const QByteArray& parentPath,
                   const QByteArray& name);

  private:
    bool deletes() const { return mode != Mode::Zip || deleteAfterZip; }
    bool aborted() const { return abortFlag && *abortFlag; }
    void abort() {
        if (abortFlag) *abortFlag = true;
    }
    void walkFolder(const FolderHandle& parent, const QByteArray& parentPath,
                    const QByteArray& name, dev_t device);
    void rmtree0(const FolderHandle& folder, const QByteArray& folderPath, dev_t device);
    void dodelete(const FolderHandle& folder, const QByteArray& folderPath, const DirEntry& entry);
    bool askAttributes(const FolderHandle& folder, const QByteArray& path, const DirEntry& entry);
    void zipAndDeleteTheFile(const FolderHandle& folder, const QByteArray& path,
                             const DirEntry& entry);

    Result result_;
    ZipArchiver zipper_;
};

}  // namespace vastel
