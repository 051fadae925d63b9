#include "removal/ReviewRemoval.h"

#include "platform/DirEntry.h"
#include "platform/FileRemoval.h"
#include "platform/NativePath.h"
#include "platform/Trash.h"
#include "removal/ArchiveFolder.h"
#include "removal/ZipArchiver.h"

#include <cerrno>

namespace vastel {

namespace {

void reportNotDeleted(JobSink& sink, const QByteArray& path, int error = 0) {
    sink.problem({Problem::Kind::CannotDelete, path, error});
}

bool isRegularFile(const QByteArray& path) {
    DirEntry entry;
    return statPath(path, entry) && entry.isRegular();
}

}  // namespace

int deleteFiles(const QList<QByteArray>& paths, JobSink& sink) {
    int deleted = 0;
    for (int i = 0; i < paths.size(); ++i) {
        sink.item(i, paths[i]);
        sink.tick();
        if (removeRegularFile(paths[i]) == RemoveResult::Removed)
            ++deleted;
        else
            reportNotDeleted(sink, paths[i], errno);
    }
    return deleted;
}

int recycleFiles(const QList<QByteArray>& paths, JobSink& sink) {
    int recycled = 0;
    for (int i = 0; i < paths.size(); ++i) {
        sink.item(i, paths[i]);
        sink.tick();
        // Only what was marked goes: a folder or a link that took the file's place stays.
        if (!isRegularFile(paths[i])) {
            reportNotDeleted(sink, paths[i]);
            continue;
        }
        if (!moveToTrash(paths[i])) {
            sink.problem({Problem::Kind::CannotRecycle, paths[i], errno});
            break;
        }
        ++recycled;
    }
    return recycled;
}

ArchiveOutcome archiveFiles(const QList<QByteArray>& paths, const ArchiveOptions& options,
                            JobSink& sink, const StopToken& stop) {
    ArchiveOutcome outcome;
    ZipArchiver zipper(sink, stop);
    for (int i = 0; i < paths.size(); ++i) {
        sink.tick();
        if (stop.requested()) {
            outcome.aborted = true;
            break;
        }
        const QByteArray& path = paths[i];
        const QByteArray archive = archiveFileName(options.tag, driveLetterOf(path), options.start);
        sink.item(i, path);
        sink.tick();
        const ZipArchiver::Result added = zipper.addFile(archive, options.comment, path);
        if (added.status == ZipArchiver::Status::Cancelled) {
            ++outcome.kept;
            outcome.aborted = true;
            break;
        }
        if (added.status != ZipArchiver::Status::Added) {
            sink.problem({Problem::Kind::CannotZip, path, 0});
            ++outcome.kept;
            continue;
        }
        // Deleted only when it is still the very file whose member was written.
        if (removeRegularFile(path, &added.identity) == RemoveResult::Removed) {
            ++outcome.archived;
        } else {
            reportNotDeleted(sink, path, errno);
            ++outcome.kept;
        }
    }
    return outcome;
}

}  // namespace vastel
