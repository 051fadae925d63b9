#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QtGlobal>
#include <vector>

namespace vastel {

// Attribute bits of a directory entry.
enum FileAttribute : quint32 {
    faReadOnly = 1,  // the owner's write bit is clear
    faHidden = 2,    // the name begins with "."
    faSysFile = 4,   // a device, FIFO or socket
    faVolumeID = 8,  // never occurs here
    faDirectory = 16,
    faArchive = 32,  // never occurs here
};

// One directory entry as the scans see it, read with statx without following links.
struct DirEntry {
    QByteArray name;         // the entry's own name, exact bytes
    qint64 size = 0;         // st_size, 64-bit
    quint32 attributes = 0;  // FileAttribute bits
    quint32 lastWrite = 0;   // packed stamps (PackedStamp.h); creation is 0 when the
    quint32 lastAccess = 0;  // file system keeps no birth time
    quint32 creation = 0;
    // The same times in seconds since the epoch: the packed form holds only 1980 to 2107.
    qint64 lastWriteTime = 0;
    qint64 lastAccessTime = 0;
    qint64 creationTime = 0;
    bool hasCreation = false;  // the file system reports a birth time
    mode_t mode = 0;           // st_mode: file type and permissions
    dev_t device = 0;          // the file system the entry lives on
    ino_t inode = 0;
    quint32 links = 1;  // hard links to the inode (st_nlink)
    bool isDirectory() const;
    bool isRegular() const;
    bool isSymlink() const;
};

// Reads one entry relative to an open directory (dirfd may be AT_FDCWD). Symbolic links are
// not followed. Returns false (errno set) when the entry cannot be read.
bool statEntry(int dirfd, const char* name, DirEntry& out);
bool statPath(const QByteArray& path, DirEntry& out);

// Entries of a folder in listing order, without "." and "..". ok=false when it cannot be
// opened or its listing broke off (what was read before is returned).
std::vector<DirEntry> listDirectory(const QByteArray& folder, bool* ok = nullptr);
// The same for an open folder descriptor, which the call takes over (and closes).
std::vector<DirEntry> listOpenDirectory(int fd, bool* ok = nullptr);

// Attribute bits from a name and a stat mode.
quint32 attributesOf(const QByteArray& name, mode_t mode);

}  // namespace vastel
