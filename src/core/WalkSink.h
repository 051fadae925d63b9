#pragma once

#include "core/WalkFile.h"

#include <sys/types.h>
#include <vector>

namespace vastel {

// A folder that a split walk leaves to a walk of its own (TreeWalk::scanSubtree), with what
// that walk must know to behave as if it went on the first one.
struct WalkSubtree {
    struct Identity {
        dev_t device;
        ino_t inode;
    };
    QByteArray path;
    Identity folder;
    dev_t rootDevice = 0;         // the target's file system
    std::vector<Identity> above;  // the folders on the path from the target's root down
};

// Receives what a walk finds: the finder's filter and its collection.
class WalkSink {
  public:
    virtual ~WalkSink() = default;
    // A folder is about to be walked (before its sub-folders).
    virtual void folderStarted(const QByteArray& folder) {}
    // The folder's listing was read: it holds this many folders, hidden and system ones and
    // those that cannot be entered included (not called when the folder cannot be listed).
    virtual void folderListed(const QByteArray& folder, qint64 folders) {}
    // The finder's filter; a file it refuses is not collected.
    virtual bool accepts(const WalkFile& file) { return true; }
    // Adds the file's line; called only while the collection has room.
    virtual void collect(const WalkFile& file) = 0;
    // The folder's own files are done (not called for a folder left by an abort).
    virtual void folderFinished(const QByteArray& folder) {}
    // With WalkOptions::splitDepth: the folder, entered and checked, is left to another walk.
    // It comes where its walk would have been, among the events of its parent.
    virtual void subtreeFound(const WalkSubtree& subtree) {}
};

}  // namespace vastel
