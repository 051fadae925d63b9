#pragma once

#include "platform/FolderHandle.h"
#include "restore/MemberPath.h"

#include <QByteArray>
#include <ctime>
#include <functional>

namespace vastel {

// Writes restored files below one destination folder. Folders are opened one level at a time
// without following links (a link planted inside the destination is refused, never followed)
// and made when missing. A file goes to a temporary file in its folder first; commit() puts it
// in place, sending a file that stood there to the trash first; discard() leaves no trace.
class MemberWriter {
  public:
    // Opens the destination itself (links in its own path are followed, as the user chose it).
    explicit MemberWriter(const QByteArray& destination);
    ~MemberWriter() { discard(); }
    MemberWriter(const MemberWriter&) = delete;
    MemberWriter& operator=(const MemberWriter&) = delete;
    bool isOpen() const { return root_.isOpen(); }
    int openError() const { return rootError_; }

    // Opens (making when missing) the folders of a member path; false with errno set, ELOOP
    // when one of them is a symbolic link.
    bool openFolders(const QByteArrayList& folders);

    // A new temporary file in the folder of the last openFolders; false with errno set.
    bool begin(const QByteArray& fileName);
    // Appends data; runs of zero blocks become holes, so sparse files stay sparse.
    bool write(const char* data, qint64 length);
    // Gives the file its size, mode and modification time and puts it in place; false with
    // errno set (and the temporary file gone) when it cannot.
    bool commit(time_t mtime, int mode);
    // Removes the temporary file.
    void discard();

    // The full path of a file in the current folder, for the trash.
    QByteArray pathOf(const QByteArray& fileName) const;

  private:
    bool flushHole();
    bool putInPlace();

    QByteArray destination_;
    FolderHandle root_;
    int rootError_ = 0;
    QByteArrayList currentFolders_;
    FolderHandle current_;  // holds the folder last opened; invalid when it is the root
    int folderFd() const { return current_.isOpen() ? current_.fd() : root_.fd(); }

    int fd_ = -1;
    QByteArray tempName_;
    QByteArray fileName_;
    qint64 written_ = 0;  // logical size so far, holes included
    bool pendingHole_ = false;
};

}  // namespace vastel
