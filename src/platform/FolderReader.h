#pragma once

#include <sys/types.h>
#include <QByteArray>
#include <QtGlobal>

namespace vastel {

// Reads the entries of one open folder in listing order with getdents64, including "." and
// "..". One reader serves many folders in turn: its buffer is reused.
class FolderReader {
  public:
    struct Entry {
        const char* name = nullptr;  // NUL-terminated, valid until the next call
        qsizetype length = 0;
        mode_t type = 0;  // S_IFDIR, S_IFREG, S_IFLNK, ...; 0 when the file system does not say
        ino_t inode = 0;
    };

    FolderReader();
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;

    // Starts reading the folder open as fd (the reader does not own it).
    void start(int fd);
    // The next entry; false at the end or when the listing broke off (failed() tells).
    bool next(Entry& out);
    bool failed() const { return failed_; }

  private:
    char* buffer_;
    int fd_ = -1;
    long filled_ = 0;
    long position_ = 0;
    bool failed_ = false;
    bool ended_ = true;
};

// Folder descriptors for walks that never change the process's current folder.

// Opens a scan target's root folder for listing (a link given as the root is followed, as
// entering it would). -1 with errno set on failure.
int openRootFolder(const QByteArray& path);
// The folder exists and may be entered (search permission), following links as entering would.
bool folderSearchable(const QByteArray& path);
// The path is where a file system is mounted (the root of a mount), without following a link.
bool isMountRoot(const QByteArray& path);
// Opens a folder relative to an open one without following a link in the last component.
int openFolderAt(int dirfd, const char* relative);
// Device and inode of an open folder.
bool folderIdentity(int fd, dev_t& device, ino_t& inode);
void closeFolder(int fd);

}  // namespace vastel
