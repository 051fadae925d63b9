#include "inspect/FileSearch.h"

#include <QIODevice>
#include <algorithm>
#include <cstring>
#include <vector>

namespace vastel {

namespace {

constexpr qint64 kPiece = 4 << 20;

// ASCII letters to lower case, eight bytes at a time: for each byte below 0x80, adding to its
// low seven bits sets the top bit exactly when it is at least 'A', or above 'Z'.
void foldCase(char* data, qint64 length) {
    constexpr quint64 kHigh = 0x8080808080808080ull;
    qint64 i = 0;
    for (; i + 8 <= length; i += 8) {
        quint64 x;
        std::memcpy(&x, data + i, 8);
        const quint64 low = x & ~kHigh;
        const quint64 atLeastA = low + 0x3F3F3F3F3F3F3F3Full;
        const quint64 aboveZ = low + 0x2525252525252525ull;
        const quint64 upper = ~x & (atLeastA ^ aboveZ) & kHigh;
        x |= upper >> 2;
        std::memcpy(data + i, &x, 8);
    }
    for (; i < length; ++i)
        if (data[i] >= 'A' && data[i] <= 'Z') data[i] = char(data[i] + ('a' - 'A'));
}

// Reads [offset, offset + length) into buffer, folded when asked; bytes that cannot be read
// stay zero.
void readPiece(QIODevice& file, qint64 offset, qint64 length, bool matchCase,
               std::vector<char>& buffer) {
    buffer.assign(size_t(length), '\0');
    if (file.seek(offset)) {
        qint64 got = 0;
        while (got < length) {
            const qint64 n = file.read(buffer.data() + got, length - got);
            if (n <= 0) break;
            got += n;
        }
    }
    if (!matchCase) foldCase(buffer.data(), length);
}

// The first match in buffer[0, length) that starts at or after `from` and before `limit`.
qint64 firstMatch(const std::vector<char>& buffer, qint64 length, const QByteArray& key,
                  qint64 from, qint64 limit) {
    const qint64 end = std::min(length, limit + key.size() - 1);
    if (end - from < key.size()) return -1;
    const void* hit =
        ::memmem(buffer.data() + from, size_t(end - from), key.constData(), size_t(key.size()));
    return hit ? static_cast<const char*>(hit) - buffer.data() : -1;
}

}  // namespace

qint64 findInFile(QIODevice& file, qint64 size, const QByteArray& needle, qint64 from,
                  bool backward, bool matchCase) {
    JobSink quiet;
    const StopToken never;
    return findInFile(file, size, needle, from, backward, matchCase, quiet, never);
}

qint64 findInFile(QIODevice& file, qint64 size, const QByteArray& needle, qint64 from,
                  bool backward, bool matchCase, JobSink& sink, const StopToken& stop) {
    auto keepGoing = [&] {
        sink.tick();
        return !stop.requested();
    };
    if (needle.isEmpty() || needle.size() > size) return -1;
    QByteArray key = needle;
    if (!matchCase) foldCase(key.data(), key.size());
    const qint64 overlap = key.size() - 1;
    std::vector<char> buffer;
    if (!backward) {
        for (qint64 at = std::max<qint64>(from, 0); at + key.size() <= size; at += kPiece) {
            if (!keepGoing()) return -1;
            const qint64 length = std::min(kPiece + overlap, size - at);
            readPiece(file, at, length, matchCase, buffer);
            const qint64 hit = firstMatch(buffer, length, key, 0, kPiece);
            if (hit >= 0) return at + hit;
        }
        return -1;
    }
    for (qint64 end = std::min(from, size - key.size() + 1); end > 0;) {
        if (!keepGoing()) return -1;
        const qint64 at = std::max<qint64>(0, end - kPiece);
        const qint64 length = std::min(end - at + overlap, size - at);
        readPiece(file, at, length, matchCase, buffer);
        // The last match in the piece that starts before `end`.
        qint64 last = -1;
        for (qint64 hit = 0; (hit = firstMatch(buffer, length, key, hit, end - at)) >= 0; ++hit)
            last = hit;
        if (last >= 0) return at + last;
        end = at;
    }
    return -1;
}

}  // namespace vastel
