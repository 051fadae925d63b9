#pragma once

#include <QByteArray>
#include <QList>
#include <QtGlobal>

namespace vastel {

// What removing a set of names really gives back. A file's bytes come free only when every one
// of its hard links is among the names removed, and a file named twice counts once; potential
// savings, which add up the sizes of the names, overstate both cases.
struct FreedSpace {
    qint64 bytes = 0;       // the sizes of the files whose last link goes
    qint64 files = 0;       // distinct files (device, inode) among the names
    qint64 keptFiles = 0;   // of those, files with links outside the names: they free nothing
    qint64 unreadable = 0;  // names that could not be read (gone, or not allowed)
};

// Reads each name without following links. Symbolic links and other non-regular entries free
// no file bytes of their own and are left out.
FreedSpace freedByRemoving(const QList<QByteArray>& paths);

}  // namespace vastel
