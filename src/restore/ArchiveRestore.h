#pragma once

#include "core/StopToken.h"
#include "restore/RestoreSink.h"

#include <QByteArray>
#include <vector>

namespace vastel {

// What a restore is told: the archive, the folder its member paths are taken relative to, and
// optionally which members (libzip indexes) to restore instead of all.
struct RestoreOptions {
    QByteArray archivePath;
    QByteArray destination;
    std::vector<quint64> only;
};

struct RestoreOutcome {
    bool opened = false;  // false: the archive could not be read at all
    QString error;        // then libzip's words
    int restored = 0;     // files written (folders not counted)
    int failed = 0;       // members that failed or were refused
    bool stopped = false;
};

// Puts an archive's members back below a destination folder. Each member's path is followed
// from the destination one folder at a time, never through a symbolic link, and a name that
// is absolute or holds ".." is refused, so nothing is written outside the destination. A file
// is written to a temporary file in its folder, checked (size and CRC) and only then renamed
// into place; a file it replaces goes to the trash first. A member that fails leaves no
// partial file and whatever was at its place as it was.
RestoreOutcome restoreArchive(const RestoreOptions& options, RestoreSink& sink,
                              const StopToken& stop);

}  // namespace vastel
