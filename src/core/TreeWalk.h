#pragma once

#include "core/ScanTarget.h"
#include "core/StopToken.h"
#include "core/WalkOptions.h"
#include "core/WalkProgress.h"
#include "core/WalkSink.h"
#include "platform/DirEntry.h"
#include "platform/FolderReader.h"
#include "platform/LocalStamps.h"
#include "platform/Wildcard.h"

#include <QByteArray>
#include <string>
#include <vector>

namespace vastel {

// The recursive walk shared by the finders and the statistics: each target depth-first,
// a folder's sub-folders in listing order before its own files, hidden and system folders
// never entered, links never followed, never leaving a target's file system. It works
// relative to folder descriptors and keeps only the pending names of the folders on the
// current path. The stop token is tested before each folder and each entry.
class TreeWalk {
  public:
    // What a walk did, for the window that ran it.
    struct Summary {
        qint64 collected = 0;  // files handed to the sink's collect
        bool full = false;     // the collection refused a file and the walk stopped
        int failedTargets = 0;
    };

    TreeWalk(const WalkOptions& options, WalkSink& sink, WalkProgress& progress, StopToken& stop);
    ~TreeWalk();
    TreeWalk(const TreeWalk&) = delete;
    TreeWalk& operator=(const TreeWalk&) = delete;

    // Every target in order: one whose drive is not ready is skipped silently, one that
    // cannot be opened is reported to the progress sink. An abort does not stop this loop;
    // each remaining target returns at once.
    void scanTargets(const std::vector<ScanTarget>& targets);
    // One target; false when it could not be opened.
    bool scanTarget(const ScanTarget& target);
    // A folder that a split walk handed over, walked as that walk would have walked it; a
    // folder that is gone or is no longer the one handed over is skipped silently.
    void scanSubtree(const WalkSubtree& subtree);
    // The same into another sink, which the walk keeps for what follows: one walk serves many
    // sub-trees, and its caches with them.
    void scanSubtree(const WalkSubtree& subtree, WalkSink& sink);

    qint64 collected() const { return collected_; }
    bool full() const { return full_; }
    int failedTargets() const { return failedTargets_; }
    Summary summary() const { return {collected_, full_, failedTargets_}; }

  private:
    struct Level {
        int fd = -1;
        dev_t device = 0;
        ino_t inode = 0;
        qsizetype nameStart = 0;  // this folder's own name in path_ (0 for the root)
        qsizetype pathEnd = 0;    // path_.left(pathEnd) is the folder's full path
        std::string folders;      // pending sub-folder names, each ended by NUL
        size_t nextFolder = 0;
        std::string files;  // names of the candidate files, each ended by NUL
        bool listed = false;
    };

    void walkTree();
    void listFolder(Level& level);
    void scanFiles(Level& level);
    void enterSubfolder(const char* name, qsizetype length);
    void leaveFolder();
    bool ensureOpen(size_t index);
    void limitOpenFolders(size_t keep);
    bool proceed();

    WalkOptions options_;
    WildcardPattern pattern_;
    WalkSink* sink_;
    WalkProgress& progress_;
    StopToken& abort_;

    std::vector<Level> levels_;  // kept between folders so their buffers are reused
    size_t depth_ = 0;
    int openFolders_ = 0;
    dev_t rootDevice_ = 0;
    std::vector<WalkSubtree::Identity> above_;  // a sub-tree's folders above its root
    QByteArray path_;
    DirEntry entry_;
    LocalStamps stamps_;
    FolderReader reader_;
    qint64 nextPump_ = 0;
    qint64 collected_ = 0;
    bool full_ = false;
    int failedTargets_ = 0;
};

}  // namespace vastel
