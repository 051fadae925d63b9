#pragma once

#include <QByteArray>
#include <optional>

namespace vastel {

class FileBlocks;
class LineIndex;

// The lines of a file as the viewer shows them in text mode. A line ends after a line feed;
// a line that runs on without one is broken at each multiple of 1024 bytes of the file whose
// preceding 1024 bytes hold no line feed. So no line is longer than 2047 bytes plus its line
// feed, and whether an offset starts a line is decided by the 1 KiB before it: the view moves
// anywhere in a file of any size without reading the rest of it.
class TextLines {
  public:
    static constexpr qint64 kWrap = 1024;
    static constexpr qint64 kMaxLine = 2 * kWrap;  // bytes of a line with its line feed

    explicit TextLines(FileBlocks& blocks) : blocks_(blocks) {}
    void setIndex(const LineIndex* index) { index_ = index; }

    qint64 size() const;
    bool isLineStart(qint64 offset);
    qint64 lineStartAtOrBefore(qint64 offset);
    qint64 nextLineStart(qint64 start);  // size() after the last line
    qint64 previousLineStart(qint64 start);
    qint64 lastLineStart();
    // The line's bytes without its line feed (and a carriage return before it).
    QByteArray lineBytes(qint64 start);

    // Line numbers, as far as the counter has got.
    std::optional<qint64> lineOf(qint64 start);
    std::optional<qint64> startOfLine(qint64 line);

    // Line starts q with from < q <= to.
    qint64 countStarts(qint64 from, qint64 to);

  private:
    qint64 findLineFeed(qint64 from, qint64 to);
    qint64 findLastLineFeed(qint64 from, qint64 to);
    qint64 countLineFeeds(qint64 from, qint64 to);
    bool chunkHasLineFeed(qint64 chunkStart);

    FileBlocks& blocks_;
    const LineIndex* index_ = nullptr;
};

}  // namespace vastel
