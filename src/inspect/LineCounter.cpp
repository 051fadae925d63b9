#include "inspect/LineCounter.h"

#include "inspect/LineIndex.h"
#include "inspect/TextLines.h"
#include "platform/NativeFile.h"

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <cstring>
#include <vector>

namespace vastel {

LineCounter::LineCounter(const QByteArray& path, qint64 size, std::shared_ptr<LineIndex> index,
                         QObject* parent)
    : QThread(parent), path_(path), size_(size), index_(std::move(index)) {}

LineCounter::~LineCounter() {
    stop();
    wait();
}

void LineCounter::stop() { stop_.request(); }

void LineCounter::run() {
    constexpr qint64 kPiece = 1 << 20;  // a multiple of the index block and of the wrap
    constexpr qint64 kWrap = TextLines::kWrap;
    static_assert(kPiece % LineIndex::kBlockSize == 0 && LineIndex::kBlockSize % kWrap == 0);

    QFile file;
    const bool readable = openNativeForReading(file, path_);
    std::vector<char> buffer(static_cast<size_t>(kPiece));
    std::vector<qint64> entries;
    QElapsedTimer sinceReport;
    sinceReport.start();

    qint64 starts =
        0;  // line starts before the current chunk, and one at it if a feed ends the last
    bool previousChunkHasFeed = true;
    for (qint64 piece = 0; piece < size_; piece += kPiece) {
        if (stop_) return;
        const qint64 length = std::min(kPiece, size_ - piece);
        qint64 got = 0;
        if (readable && file.seek(piece)) {
            while (got < length) {
                const qint64 n = file.read(buffer.data() + got, length - got);
                if (n <= 0) break;
                got += n;
            }
        }
        // Bytes that cannot be read count as zeros, as the view shows them.
        if (got < length) std::memset(buffer.data() + got, 0, size_t(length - got));

        for (qint64 at = 0; at < length; at += kWrap) {
            const qint64 chunk = piece + at;
            const char* p = buffer.data() + at;
            const qint64 n = std::min(kWrap, length - at);
            // A chunk that follows one without a line feed starts with a break.
            const qint64 startHere = chunk == 0 || !previousChunkHasFeed ? 1 : 0;
            if (chunk % LineIndex::kBlockSize == 0) {
                // The line holding the chunk's first byte; a start there by a preceding line
                // feed is already counted.
                entries.push_back(starts + startHere - 1);
            }
            // memchr skips long stretches without a line feed many times faster than a count.
            qint64 feeds = 0;
            for (const char* q = p;
                 (q = static_cast<const char*>(std::memchr(q, '\n', size_t(p + n - q)))); ++q)
                ++feeds;
            const bool feedAtEnd = p[n - 1] == '\n';
            // A line feed at the very end of the file starts no line.
            const bool lastChunk = chunk + n >= size_;
            starts += startHere + feeds - (feedAtEnd && lastChunk ? 1 : 0);
            previousChunkHasFeed = feeds > 0;
        }
        if (sinceReport.elapsed() >= 50 || piece + length >= size_) {
            index_->append(entries);
            entries.clear();
            sinceReport.restart();
            Q_EMIT progress();
        }
    }
    index_->append(entries);
    index_->finish(starts);
    Q_EMIT progress();
}

}  // namespace vastel
