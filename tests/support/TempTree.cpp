#include "support/TempTree.h"

#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <stdexcept>

namespace vastel::test {

TempTree::TempTree() : root_(QFile::encodeName(dir_.path())) {
    if (!dir_.isValid()) throw std::runtime_error("cannot make a temporary folder");
}

TempTree::TempTree(const QString& parent)
    : dir_(parent + QStringLiteral("/vastel-test-XXXXXX")), root_(QFile::encodeName(dir_.path())) {
    if (!dir_.isValid()) throw std::runtime_error("cannot make a temporary folder");
}

QByteArray TempTree::copyProgram(const QByteArray& program, const QByteArray& relative) {
    const QByteArray target = path(relative);
    makeParents(target);
    if (!QFile::copy(QFile::decodeName(program), QFile::decodeName(target)) ||
        ::chmod(target.constData(), 0755) != 0)
        throw std::runtime_error("cannot copy " + program.toStdString());
    return target;
}

TempTree::~TempTree() {
    // Read-only folders made by a test must not stop the clean-up.
    removeTree(root_);
}

void TempTree::removeTree(const QByteArray& absolute) {
    ::nftw(
        absolute.constData(),
        [](const char* p, const struct stat* st, int type, FTW*) {
            if (type == FTW_DP) {
                ::chmod(p, 0700);
                ::rmdir(p);
            } else {
                ::unlink(p);
            }
            return 0;
        },
        32, FTW_DEPTH | FTW_PHYS);
}

QByteArray TempTree::path(const QByteArray& relative) const {
    if (relative.isEmpty()) return root_;
    return root_ + '/' + relative;
}

void TempTree::makeParents(const QByteArray& absolute) {
    for (qsizetype i = root_.size() + 1; i < absolute.size(); ++i) {
        if (absolute[i] == '/') ::mkdir(absolute.left(i).constData(), 0755);
    }
}

void TempTree::setTimes(const QByteArray& absolute, time_t mtime, time_t atime) {
    if (mtime == 0 && atime == 0) return;
    timespec times[2];
    times[0].tv_sec = atime;
    times[0].tv_nsec = atime ? 0 : UTIME_OMIT;
    times[1].tv_sec = mtime;
    times[1].tv_nsec = mtime ? 0 : UTIME_OMIT;
    ::utimensat(AT_FDCWD, absolute.constData(), times, AT_SYMLINK_NOFOLLOW);
}

QByteArray TempTree::createFileWith(const QByteArray& relative, const QByteArray& content,
                                    time_t mtime, time_t atime) {
    const QByteArray abs = path(relative);
    makeParents(abs);
    const int fd = ::open(abs.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create " + abs.toStdString());
    qsizetype done = 0;
    while (done < content.size()) {
        const ssize_t n = ::write(fd, content.constData() + done, size_t(content.size() - done));
        if (n <= 0) break;
        done += n;
    }
    ::close(fd);
    setTimes(abs, mtime, atime);
    return abs;
}

QByteArray TempTree::createFile(const QByteArray& relative, qint64 size, time_t mtime, time_t atime,
                                char fill) {
    return createFileWith(relative, QByteArray(qsizetype(size), fill), mtime, atime);
}

QByteArray TempTree::createFolder(const QByteArray& relative) {
    const QByteArray abs = path(relative);
    makeParents(abs + '/');
    return abs;
}

QByteArray TempTree::createSymlink(const QByteArray& relative, const QByteArray& target) {
    const QByteArray abs = path(relative);
    makeParents(abs);
    if (::symlink(target.constData(), abs.constData()) != 0)
        throw std::runtime_error("cannot link " + abs.toStdString());
    return abs;
}

}  // namespace vastel::test
