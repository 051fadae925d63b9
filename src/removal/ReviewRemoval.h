#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <functional>

namespace vastel {

// What the deletion review's removal loops tell their window while they run.
struct RemovalSink {
    std::function<void(int index, const QByteArray& path)> step;  // before each file
    std::function<void(int percent)> memberProgress;              // of the member being zipped
    std::function<bool()> cancelRequested;  // polled between files and while zipping
};

// Deletes each regular file at exactly the given paths. A file that cannot be deleted, or a
// path that no longer names a regular file, is reported ("Couldn't delete file - ") and
// left; the loop goes on. Returns the number of files deleted.
int deleteFiles(const QList<QByteArray>& paths, const RemovalSink& sink);

// Moves each file into the trash. A path that no longer names a regular file is reported as
// a file that could not be deleted and left; the first failure of the trash itself is
// reported and ends the loop. Returns the number of files moved.
int recycleFiles(const QList<QByteArray>& paths, const RemovalSink& sink);

struct ArchiveOutcome {
    int archived = 0;  // files whose member was written and which were then deleted
    int kept = 0;      // files left in place
    bool aborted = false;
};

// Moves each file into the archive of its drive ("Drive-R-" + tag + start), one member per
// file, and deletes it once its member is written and the archive closed. A file that cannot
// be added stays ("Couldn't zip up file - "); one added but not deletable is reported
// ("Couldn't delete file - "). A cancel request abandons the member being written and ends
// the loop before the next file.
ArchiveOutcome archiveFiles(const QList<QByteArray>& paths, const QString& tag,
                            const QByteArray& comment, const QDateTime& start,
                            const RemovalSink& sink);

}  // namespace vastel
