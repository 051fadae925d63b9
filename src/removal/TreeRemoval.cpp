#include "removal/TreeRemoval.h"

#include "core/MessageBoxes.h"
#include "core/Utility.h"
#include "platform/Dialogs.h"
#include "platform/NativePath.h"
#include "platform/Trash.h"
#include "removal/ArchiveFolder.h"

namespace vastel {

TreeRemoval::Result TreeRemoval::deltree(const FolderHandle& parent, const QByteArray& parentPath,
                                         const QByteArray& name) {
    result_ = Result{};
    zipper_.onProgress = onMemberProgress;
    zipper_.cancelRequested = [this] {
        if (pump) pump();
        return aborted();
    };
    zipper_.keepAlive = [this] {
        if (pump) pump();
    };
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
        if (pump) pump();
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
        const char* text;
    } kQuestions[] = {{faReadOnly, " is read-only, "},
                      {faHidden, " is hidden, "},
                      {faSysFile, " is a system file, "}};
    for (const auto& q : kQuestions) {
        if (!(entry.attributes & q.attribute)) continue;
        const Answer answer = dialogs().question(
            displayPath(path) + QLatin1String(q.text) +
                QStringLiteral("Delete this file and continue deleting the remaining files? "),
            Buttons::YesNoCancel, BoxIcon::Question, Beep::None);
        if (answer != Answer::Yes) {
            abort();
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
    if (onFile) onFile(result_.count, path);
    if (pump) pump();
    switch (mode) {
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
        added = zipper_.addOpenedFile(archivePath, comment, archiveMemberName(path), file);
    if (added.status == ZipArchiver::Status::Cancelled) return;
    if (added.status != ZipArchiver::Status::Added) {
        errorBox(QStringLiteral("Couldn't zip up file - ") + displayPath(path));
        return;
    }
    if (deleteAfterZip &&
        folder.removeEntry(entry.name, true, &added.identity) != RemoveResult::Removed)
        errorBox(QStringLiteral("Couldn't delete file - ") + displayPath(path));
}

}  // namespace vastel
