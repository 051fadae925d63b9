#include "removal/ReviewRemoval.h"

#include "core/MessageBoxes.h"
#include "platform/DirEntry.h"
#include "platform/FileRemoval.h"
#include "platform/NativePath.h"
#include "platform/Trash.h"
#include "removal/ArchiveFolder.h"
#include "removal/ZipArchiver.h"

namespace vastel {

namespace {

void reportNotDeleted(const QByteArray& path) {
    errorBox(QStringLiteral("Couldn't delete file - ") + displayPath(path));
}

void step(const RemovalSink& sink, int index, const QByteArray& path) {
    if (sink.step) sink.step(index, path);
}

bool cancelled(const RemovalSink& sink) { return sink.cancelRequested && sink.cancelRequested(); }

bool isRegularFile(const QByteArray& path) {
    DirEntry entry;
    return statPath(path, entry) && entry.isRegular();
}

}  // namespace

int deleteFiles(const QList<QByteArray>& paths, const RemovalSink& sink) {
    int deleted = 0;
    for (int i = 0; i < paths.size(); ++i) {
        step(sink, i, paths[i]);
        if (removeRegularFile(paths[i]) == RemoveResult::Removed)
            ++deleted;
        else
            reportNotDeleted(paths[i]);
    }
    return deleted;
}

int recycleFiles(const QList<QByteArray>& paths, const RemovalSink& sink) {
    int recycled = 0;
    for (int i = 0; i < paths.size(); ++i) {
        step(sink, i, paths[i]);
        // Only what was marked goes: a folder or a link that took the file's place stays.
        if (!isRegularFile(paths[i])) {
            reportNotDeleted(paths[i]);
            continue;
        }
        if (!moveToTrash(paths[i])) {
            errorBox(QStringLiteral(
                "An error occurred sending files to the recycle bin.  The bin may be full."));
            break;
        }
        ++recycled;
    }
    return recycled;
}

ArchiveOutcome archiveFiles(const QList<QByteArray>& paths, const QString& tag,
                            const QByteArray& comment, const QDateTime& start,
                            const RemovalSink& sink) {
    ArchiveOutcome outcome;
    ZipArchiver zipper;
    zipper.onProgress = sink.memberProgress;
    zipper.cancelRequested = sink.cancelRequested;
    // While an archive is saved its answer does not matter, but the window gets its turn.
    zipper.keepAlive = [&sink] { cancelled(sink); };
    for (int i = 0; i < paths.size(); ++i) {
        if (cancelled(sink)) {
            outcome.aborted = true;
            break;
        }
        const QByteArray& path = paths[i];
        const QByteArray archive = archiveFileName(tag, driveLetterOf(path), start);
        step(sink, i, path);
        const ZipArchiver::Result added = zipper.addFile(archive, comment, path);
        if (added.status == ZipArchiver::Status::Cancelled) {
            ++outcome.kept;
            outcome.aborted = true;
            break;
        }
        if (added.status != ZipArchiver::Status::Added) {
            errorBox(QStringLiteral("Couldn't zip up file - ") + displayPath(path));
            ++outcome.kept;
            continue;
        }
        // Deleted only when it is still the very file whose member was written.
        if (removeRegularFile(path, &added.identity) == RemoveResult::Removed) {
            ++outcome.archived;
        } else {
            reportNotDeleted(path);
            ++outcome.kept;
        }
    }
    return outcome;
}

}  // namespace vastel
