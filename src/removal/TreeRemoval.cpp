#include "removal/TreeRemoval.h"

#include "core/Utility.h"
#include "platform/NativePath.h"
#include "platform/Trash.h"
#include "removal/ArchiveFolder.h"

#include <cerrno>

namespace vastel {

TreeRemoval::TreeRemoval(const TreeRemovalOptions& options, JobSink& sink, StopToken& stop)
    : options_(options), sink_(sink), stop_(stop), zipper_(sink, stop) {}

TreeRemoval::Result TreeRemoval::deltree(const FolderHandle& parent, const QByteArray& parentPath,
                                         const QByteArray& name) {
    result_ = Result{};
    DirEntry top;
    if (parent.statChild(name, top) && top.isDirectory())
        walkFolder(parent, parentPath, name, top.device);
    result_.complete = !aborted();
    return result_;
}

void TreeRemoval::walkFolder(const FolderHandle& parent, const QByteArray& parentPath,
                             const QByteArray& name, dev_t device) {
    const FolderHandle folder = parent.openChild(name);
    if (!folder.isOpen()) return;  // a link now, or unreadable: skipped
    rmtree0(folder, joinPath(parentPath, name), device);
    if (deletes()) parent.removeFolder(name);  // fails quietly while something is left in it
}

void TreeRemoval::rmtree0(const FolderHandle& folder, const QByteArray& folderPath, dev_t device) {
    // The abort flag is not reset here: a Cancel confirmed while the walk enters a folder must
    // still stop it.
    const std::vector<DirEntry> entries = folder.list();
    for (const DirEntry& entry : entries) {
        if (aborted()) break;
        sink_.tick();
        if (entry.isDirectory()) {
            // Another file system mounted inside the tree is a drive of its own.
            if (entry.device == device) walkFolder(folder, folderPath, entry.name, device);
        } else {
            dodelete(folder, folderPath, entry);
        }
    }
}

bool TreeRemoval::askAttributes(const FolderHandle& folder, const QByteArray& path,
                                const DirEntry& entry) {
    static const struct {
        quint32 attribute;
        Question::Kind kind;
    } kQuestions[] = {{faReadOnly, Question::Kind::DeleteReadOnly},
                      {faHidden, Question::Kind::DeleteHidden},
                      {faSysFile, Question::Kind::DeleteSystem}};
    for (const auto& q : kQuestions) {
        if (!(entry.attributes & q.attribute)) continue;
        if (!sink_.ask({q.kind, path})) {
            stop_.request();
            return false;
        }
        // Hidden and system cannot be cleared here; they count as cleared.
        if (q.attribute == faReadOnly) folder.addOwnerWrite(entry.name);
    }
    return true;
}

void TreeRemoval::dodelete(const FolderHandle& folder, const QByteArray& folderPath,
                           const DirEntry& entry) {
    if (aborted()) return;
    const QByteArray path = joinPath(folderPath, entry.name);
    if (deletes() && !askAttributes(folder, path, entry)) return;
    ++result_.count;
    result_.bytes += entry.size;
    sink_.item(result_.count, path);
    sink_.tick();
    switch (options_.mode) {
        case Mode::Recycle:
            // Not checked: what cannot be trashed stays, and so does its folder.
            moveToTrash(path);
            break;
        case Mode::Zip:
            zipAndDeleteTheFile(folder, path, entry);
            break;
        case Mode::Delete:
            // A failure leaves the entry in place without a message; a link goes as a link.
            folder.removeEntry(entry.name, false);
            break;
    }
}

void TreeRemoval::zipAndDeleteTheFile(const FolderHandle& folder, const QByteArray& path,
                                      const DirEntry& entry) {
    OpenedFile file;
    ZipArchiver::Result added;
    if (folder.openFile(entry.name, file))
        added = zipper_.addOpenedFile(options_.archivePath, options_.comment,
                                      archiveMemberName(path), file);
    if (added.status == ZipArchiver::Status::Cancelled) return;
    if (added.status != ZipArchiver::Status::Added) {
        sink_.problem({Problem::Kind::CannotZip, path, 0});
        return;
    }
    if (options_.deleteAfterZip &&
        folder.removeEntry(entry.name, true, &added.identity) != RemoveResult::Removed)
        sink_.problem({Problem::Kind::CannotDelete, path, errno});
}

}  // namespace vastel
