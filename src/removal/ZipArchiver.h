#pragma once

#include "core/JobSink.h"
#include "core/StopToken.h"
#include "platform/FolderHandle.h"

#include <zip.h>
#include <QByteArray>
#include <QString>

namespace vastel {

// Adds files one at a time to ZIP archives. For every file the archive is opened (made when
// missing), given its comment, extended by one Deflate member and closed again, so that every
// archive on disk stays complete whatever happens to a later file. The member's progress goes
// to the sink as percent of 100; the stop token, tested often while a member is written,
// abandons it; the sink ticks also while an archive is saved, where nothing can be abandoned.
class ZipArchiver {
  public:
    enum class Status { Added, Failed, Cancelled };
    struct Result {
        Status status = Status::Failed;
        FileIdentity identity;  // the file that was read, for the deletion that follows
        qint64 size = 0;
        QString reason;  // why it failed, in libzip's or the system's words
    };

    ZipArchiver(JobSink& sink, const StopToken& stop) : sink_(sink), stop_(stop) {}

    // Adds the regular file at filePath under its path without the leading "/".
    Result addFile(const QByteArray& archivePath, const QByteArray& comment,
                   const QByteArray& filePath);
    // Adds an opened file under memberName; the descriptor is closed.
    Result addOpenedFile(const QByteArray& archivePath, const QByteArray& comment,
                         const QByteArray& memberName, OpenedFile file);

  private:
    static void progressCallback(zip_t* archive, double done, void* self);
    static int cancelCallback(zip_t* archive, void* self);
    bool cancelRequested();
    JobSink& sink_;
    const StopToken& stop_;
    double memberStart_ = 0;  // where the new member's share of libzip's progress begins
    double memberShare_ = 1;
};

}  // namespace vastel
