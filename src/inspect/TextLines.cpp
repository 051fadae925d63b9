#include "inspect/TextLines.h"

#include "inspect/FileBlocks.h"
#include "inspect/LineIndex.h"

#include <algorithm>
#include <cstring>

namespace vastel {

qint64 TextLines::size() const { return blocks_.size(); }

qint64 TextLines::findLineFeed(qint64 from, qint64 to) {
    to = std::min(to, size());
    while (from < to) {
        qint64 available = 0;
        const char* p = blocks_.span(from, &available);
        if (available <= 0) break;
        const qint64 n = std::min(available, to - from);
        if (const void* hit = std::memchr(p, '\n', size_t(n)))
            return from + (static_cast<const char*>(hit) - p);
        from += n;
    }
    return -1;
}

qint64 TextLines::findLastLineFeed(qint64 from, qint64 to) {
    from = std::max<qint64>(from, 0);
    to = std::min(to, size());
    qint64 last = -1;
    while (from < to) {
        qint64 available = 0;
        const char* p = blocks_.span(from, &available);
        if (available <= 0) break;
        const qint64 n = std::min(available, to - from);
        if (const void* hit = ::memrchr(p, '\n', size_t(n)))
            last = from + (static_cast<const char*>(hit) - p);
        from += n;
    }
    return last;
}

qint64 TextLines::countLineFeeds(qint64 from, qint64 to) {
    from = std::max<qint64>(from, 0);
    to = std::min(to, size());
    qint64 count = 0;
    while (from < to) {
        qint64 available = 0;
        const char* p = blocks_.span(from, &available);
        if (available <= 0) break;
        const qint64 n = std::min(available, to - from);
        for (const char* q = p;
             (q = static_cast<const char*>(std::memchr(q, '\n', size_t(p + n - q)))); ++q)
            ++count;
        from += n;
    }
    return count;
}

bool TextLines::chunkHasLineFeed(qint64 chunkStart) {
    return findLineFeed(chunkStart, chunkStart + kWrap) >= 0;
}

bool TextLines::isLineStart(qint64 offset) {
    if (offset < 0 || offset >= size()) return false;
    if (offset == 0 || blocks_.byteAt(offset - 1) == '\n') return true;
    return offset % kWrap == 0 && !chunkHasLineFeed(offset - kWrap);
}

qint64 TextLines::lineStartAtOrBefore(qint64 offset) {
    if (size() == 0) return 0;
    offset = std::clamp<qint64>(offset, 0, size() - 1);
    // A start no further back than one line's length: after a line feed, or a break.
    const qint64 feed = findLastLineFeed(offset - kMaxLine, offset);
    qint64 best = feed >= 0 ? feed + 1 : (offset - kMaxLine <= 0 ? 0 : -1);
    for (qint64 b = offset / kWrap * kWrap; b > 0 && b > best; b -= kWrap)
        if (!chunkHasLineFeed(b - kWrap)) return b;
    return std::max<qint64>(best, 0);
}

qint64 TextLines::nextLineStart(qint64 start) {
    const qint64 limit = std::min(size(), start + kMaxLine);
    const qint64 feed = findLineFeed(start, limit);
    const qint64 candidate = feed >= 0 ? feed + 1 : limit;
    for (qint64 b = (start / kWrap + 1) * kWrap; b < candidate; b += kWrap)
        if (!chunkHasLineFeed(b - kWrap)) return b;
    return candidate;
}

qint64 TextLines::previousLineStart(qint64 start) {
    return start <= 0 ? 0 : lineStartAtOrBefore(start - 1);
}

qint64 TextLines::lastLineStart() { return size() == 0 ? 0 : lineStartAtOrBefore(size() - 1); }

QByteArray TextLines::lineBytes(qint64 start) {
    const qint64 end = nextLineStart(start);
    QByteArray bytes = blocks_.read(start, end - start);
    if (bytes.endsWith('\n')) bytes.chop(1);
    if (bytes.endsWith('\r')) bytes.chop(1);
    return bytes;
}

qint64 TextLines::countStarts(qint64 from, qint64 to) {
    to = std::min(to, size() - 1);
    if (to <= from) return 0;
    // A line feed at f starts a line at f + 1; a break at b needs a chunk without one.
    qint64 count = countLineFeeds(from, to);
    for (qint64 b = (from / kWrap + 1) * kWrap; b <= to; b += kWrap)
        if (!chunkHasLineFeed(b - kWrap)) ++count;
    return count;
}

std::optional<qint64> TextLines::lineOf(qint64 start) {
    if (!index_ || start < 0 || start >= std::max<qint64>(size(), 1)) return std::nullopt;
    const qint64 block = start / LineIndex::kBlockSize;
    const std::optional<qint64> first = index_->firstLineOfBlock(block);
    if (!first) return std::nullopt;
    return *first + countStarts(block * LineIndex::kBlockSize, start);
}

std::optional<qint64> TextLines::startOfLine(qint64 line) {
    if (!index_ || line < 0) return std::nullopt;
    if (const std::optional<qint64> count = index_->lineCount(); count && line >= *count)
        return std::nullopt;
    const qint64 block = index_->blockForLine(line);
    if (block < 0) return std::nullopt;
    const qint64 blockEnd = (block + 1) * LineIndex::kBlockSize;
    // Beyond the counter's frontier the line may lie anywhere further on.
    const bool bounded = index_->done() || index_->blocksIndexed() > block + 1;
    qint64 start = lineStartAtOrBefore(block * LineIndex::kBlockSize);
    for (qint64 n = *index_->firstLineOfBlock(block); n < line; ++n) {
        start = nextLineStart(start);
        if (start >= size()) return std::nullopt;
        if (!bounded && start >= blockEnd) return std::nullopt;
    }
    return start;
}

}  // namespace vastel
