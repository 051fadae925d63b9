#pragma once

#include "core/JobSink.h"
#include "core/StopToken.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

namespace vastel {

// The deletion review's removal loops. Before each file the sink gets its index and path;
// what cannot be done goes to the sink as a problem.

// Deletes each regular file at exactly the given paths. A file that cannot be deleted, or a
// path that no longer names a regular file, is reported (CannotDelete) and left; the loop goes
// on. Returns the number of files deleted.
int deleteFiles(const QList<QByteArray>& paths, JobSink& sink);

// Moves each file into the trash. A path that no longer names a regular file is reported as
// a file that could not be deleted and left; the first failure of the trash itself is
// reported (CannotRecycle) and ends the loop. Returns the number of files moved.
int recycleFiles(const QList<QByteArray>& paths, JobSink& sink);

// What the archiving of the review is told.
struct ArchiveOptions {
    QString tag;         // the archives are "Drive-R-" + tag + start
    QByteArray comment;  // of every archive
    QDateTime start;
};

struct ArchiveOutcome {
    int archived = 0;  // files whose member was written and which were then deleted
    int kept = 0;      // files left in place
    bool aborted = false;
};

// Moves each file into the archive of its drive, one member per file, and deletes it once its
// member is written and the archive closed. A file that cannot be added stays (CannotZip); one
// added but not deletable is reported (CannotDelete). A stop abandons the member being
// written and ends the loop before the next file.
ArchiveOutcome archiveFiles(const QList<QByteArray>& paths, const ArchiveOptions& options,
                            JobSink& sink, const StopToken& stop);

}  // namespace vastel
