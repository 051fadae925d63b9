#pragma once

#include <QByteArray>
#include <QTemporaryDir>
#include <ctime>

namespace vastel::test {

// A temporary folder tree for fixtures. Paths are relative to the root and are bytes, so names
// with tabs, newlines and invalid UTF-8 can be made. Parent folders are created as needed.
class TempTree {
  public:
    TempTree();
    // A tree below `parent` instead of TMPDIR: tests that run a step as another user put it
    // in a folder every user can reach (the sandbox may lie below a private home).
    explicit TempTree(const QString& parent);
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    const QByteArray& root() const { return root_; }
    QByteArray path(const QByteArray& relative) const;

    // A file of `size` bytes (filled with `fill`) or with the given content; times in seconds
    // since the epoch, 0 = leave as created.
    QByteArray createFile(const QByteArray& relative, qint64 size, time_t mtime = 0,
                          time_t atime = 0, char fill = 'x');
    QByteArray createFileWith(const QByteArray& relative, const QByteArray& content,
                              time_t mtime = 0, time_t atime = 0);
    QByteArray createFolder(const QByteArray& relative);
    QByteArray createSymlink(const QByteArray& relative, const QByteArray& target);
    static void setTimes(const QByteArray& absolute, time_t mtime, time_t atime);
    // Removes a tree by its bytes (QDir cannot remove names that are not UTF-8).
    static void removeTree(const QByteArray& absolute);
    // A copy of `program` inside the tree, executable by every user.
    QByteArray copyProgram(const QByteArray& program, const QByteArray& relative);

  private:
    void makeParents(const QByteArray& absolute);
    QTemporaryDir dir_;
    QByteArray root_;
};

}  // namespace vastel::test
