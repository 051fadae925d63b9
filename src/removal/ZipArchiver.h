#pragma once

#include "platform/FolderHandle.h"

#include <zip.h>
#include <QByteArray>
#include <QString>
#include <functional>

namespace vastel {

// Adds files one at a time to ZIP archives. For every file the archive is opened (made when
// missing), given its comment, extended by one Deflate member and closed again, so that every
// archive on disk stays complete whatever happens to a later file.
class ZipArchiver {
  public:
    enum class Status { Added, Failed, Cancelled };
    struct Result {
        Status status = Status::Failed;
        FileIdentity identity;  // the file that was read, for the deletion that follows
        qint64 size = 0;
        QString reason;  // why it failed, in libzip's or the system's words
    };

    // The member being written, 0 to 100.
    std::function<void(int percent)> onProgress;
    // Asked often while a member is written; true abandons the member.
    std::function<bool()> cancelRequested;
    // Called now and then where nothing can be abandoned any more (the archive being saved).
    std::function<void()> keepAlive;

    // Adds the regular file at filePath under its path without the leading "/".
    Result addFile(const QByteArray& archivePath, const QByteArray& comment,
                   const QByteArray& filePath);
    // Adds an opened file under memberName; the descriptor is closed.
    Result addOpenedFile(const QByteArray& archivePath, const QByteArray& comment,
                         const QByteArray& memberName, OpenedFile file);

  private:
    static void progressCallback(zip_t* archive, double done, void* self);
    static int cancelCallback(zip_t* archive, void* self);
    double memberStart_ = 0;  // where the new member's share of libzip's progress begins
    double memberShare_ = 1;
};

}  // namespace vastel
