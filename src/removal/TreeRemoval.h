#pragma once

#include "core/JobSink.h"
#include "core/StopToken.h"
#include "platform/DirEntry.h"
#include "platform/FolderHandle.h"
#include "removal/TreeRemovalOptions.h"
#include "removal/ZipArchiver.h"

#include <QByteArray>

namespace vastel {

// Walks a folder tree and deletes, trashes or zips what it holds, asking before it deletes a
// read-only, hidden or system file (a question to the sink; anything but yes stops the walk).
// The sink gets each file with its running count, the member's progress and what could not be
// zipped or deleted; the stop token is tested between entries. The walk goes through opened folders
// and never follows a link: a link in the tree is handled as the link itself, and a folder on
// another file system (a mount) is not entered.
class TreeRemoval {
  public:
    using Mode = TreeRemovalOptions::Mode;
    struct Result {
        qint64 count = 0;  // files visited
        qint64 bytes = 0;
        bool complete = true;  // false when a question was declined or the walk was aborted
    };

    TreeRemoval(const TreeRemovalOptions& options, JobSink& sink, StopToken& stop);

    // Walks the folder `name` of parent (whose path is parentPath) and, unless files are kept
    // after zipping, removes the folders it empties, the folder itself included.
    Result deltree(const FolderHandle& parent, const QByteArray& parentPath,
                   const QByteArray& name);

  private:
    bool deletes() const { return options_.mode != Mode::Zip || options_.deleteAfterZip; }
    bool aborted() const { return stop_.requested(); }
    void walkFolder(const FolderHandle& parent, const QByteArray& parentPath,
                    const QByteArray& name, dev_t device);
    void rmtree0(const FolderHandle& folder, const QByteArray& folderPath, dev_t device);
    void dodelete(const FolderHandle& folder, const QByteArray& folderPath, const DirEntry& entry);
    bool askAttributes(const FolderHandle& folder, const QByteArray& path, const DirEntry& entry);
    void zipAndDeleteTheFile(const FolderHandle& folder, const QByteArray& path,
                             const DirEntry& entry);

    TreeRemovalOptions options_;
    JobSink& sink_;
    StopToken& stop_;
    Result result_;
    ZipArchiver zipper_;
};

}  // namespace vastel
