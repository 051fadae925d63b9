#include "finders/FileChecksum.h"

#include "core/StopToken.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

namespace vastel {

namespace {

constexpr qint64 kBlock = 2048;
constexpr qint64 kBuffer =
    8 << 20;  // a multiple of kBlock; large, so that two files read in turn seek seldom

// A file read in large pieces; the checksum is summed block by block over what was read.
class ChecksumReader {
  public:
    explicit ChecksumReader(const QByteArray& path)
        : fd_(::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY)),
          buffer_(new char[kBuffer]) {
        if (fd_ >= 0) ::posix_fadvise(fd_, 0, 0, POSIX_FADV_SEQUENTIAL);
    }
    ~ChecksumReader() {
        if (fd_ >= 0) ::close(fd_);
    }
    bool opened() const { return fd_ >= 0; }
    bool ended() const { return ended_; }
    bool failed() const { return failed_; }

    // Reads the next piece (a full buffer unless the file ends); its length, 0 at the end.
    qint64 next() {
        length_ = 0;
        if (ended_) return 0;
        while (length_ < kBuffer) {
            const ssize_t n = ::read(fd_, buffer_.get() + length_, size_t(kBuffer - length_));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                failed_ = n < 0;
                ended_ = true;
                break;
            }
            length_ += n;
        }
        for (qint64 at = 0; at < length_; at += kBlock)
            sum_ += quint32(::crc32_z(0, reinterpret_cast<const Bytef*>(buffer_.get() + at),
                                      size_t(std::min(kBlock, length_ - at))));
        return length_;
    }
    const char* data() const { return buffer_.get(); }
    quint32 sum() const { return sum_; }

  private:
    int fd_;
    std::unique_ptr<char[]> buffer_;
    qint64 length_ = 0;
    quint32 sum_ = 0;
    bool ended_ = false;
    bool failed_ = false;
};

}  // namespace

quint32 fileChecksum(const QByteArray& path, const StopToken* stop) {
    ChecksumReader reader(path);
    if (!reader.opened()) return 0;
    while (reader.next() > 0)
        if (stop && stop->requested()) break;
    return reader.sum();
}

QString checksumText(quint32 checksum) {
    return QStringLiteral("%1").arg(checksum, 8, 16, QLatin1Char(' ')).toUpper();
}

PairChecksums comparePair(const QByteArray& left, const QByteArray& right, const StopToken* stop) {
    PairChecksums out;
    ChecksumReader a(left), b(right);
    bool same = a.opened() && b.opened();
    while (a.opened() || b.opened()) {
        const qint64 na = a.opened() ? a.next() : 0;
        const qint64 nb = b.opened() ? b.next() : 0;
        if (same && (na != nb || std::memcmp(a.data(), b.data(), size_t(na)) != 0)) same = false;
        if (na == 0 && nb == 0) break;
        if (stop && stop->requested()) {
            same = false;
            break;
        }
    }
    out.left = a.opened() ? a.sum() : 0;
    out.right = b.opened() ? b.sum() : 0;
    out.identical = same && !a.failed() && !b.failed();
    return out;
}

}  // namespace vastel
