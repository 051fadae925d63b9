#pragma once

#include "platform/DirEntry.h"

#include <sys/types.h>
#include <QByteArray>
#include <vector>

namespace vastel {

// Which file an operation saw: the same device and inode mean the same file.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

// A regular file opened for reading, with what fstat said about it at that moment.
struct OpenedFile {
    int fd = -1;
    FileIdentity identity;
    qint64 size = 0;
    qint64 mtime = 0;  // seconds since the epoch
    quint32 mode = 0;  // st_mode
};

enum class RemoveResult {
    Removed,
    NotRegular,  // a folder, a link or a special file stood where a regular file was expected
    Changed,     // another file now has the name
    Failed,      // errno tells why
};

// An open folder that entries are read, opened and removed relative to, so that a link
// swapped in for a folder along the way is never followed.
class FolderHandle {
  public:
    FolderHandle() = default;
    ~FolderHandle();
    FolderHandle(FolderHandle&& other) noexcept;
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;

    // Opens a folder by path; links among its components are followed, as the user wrote it.
    static FolderHandle open(const QByteArray& path);
    // Opens a sub-folder; fails (ELOOP or ENOTDIR) when the name is a link or no folder.
    FolderHandle openChild(const QByteArray& name) const;

    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }

    // The folder itself and one of its entries, links not followed.
    bool stat(DirEntry& out) const;
    bool statChild(const QByteArray& name, DirEntry& out) const;
    // Entries in listing order without "." and ".."; ok=false when the listing broke off.
    std::vector<DirEntry> list(bool* ok = nullptr) const;

    // Opens a regular file for reading; fails for links, folders and special files.
    bool openFile(const QByteArray& name, OpenedFile& out) const;
    // Removes an entry that is not a folder; a link is removed as a link. The entry is checked
    // immediately before the unlink: with regularOnly anything but a regular file is refused,
    // and with expected another file under the same name is refused.
    RemoveResult removeEntry(const QByteArray& name, bool regularOnly,
                             const FileIdentity* expected = nullptr) const;
    // Removes an empty sub-folder.
    bool removeFolder(const QByteArray& name) const;
    // Gives the owner write permission on an entry that is no link.
    bool addOwnerWrite(const QByteArray& name) const;

  private:
    explicit FolderHandle(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace vastel
