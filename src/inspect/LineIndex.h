#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <vector>

namespace vastel {

// What the line counter has learnt so far, shared between it and the view: for each block of
// kBlockSize bytes, the number of the line that holds the block's first byte; and, once the
// whole file is counted, the number of lines. Memory is one number per 64 KiB of file,
// whatever the number of lines.
class LineIndex {
  public:
    static constexpr qint64 kBlockSize = 65536;

    void append(const std::vector<qint64>& firstLines);
    void finish(qint64 lineCount);

    qint64 blocksIndexed() const;
    std::optional<qint64> firstLineOfBlock(qint64 block) const;
    // The last indexed block whose first line is at most `line`; -1 when there is none.
    qint64 blockForLine(qint64 line) const;
    std::optional<qint64> lineCount() const;
    bool done() const;
    // Waits until the count is done or the time has passed; true when done.
    bool waitDone(int milliseconds) const;

  private:
    mutable std::mutex mutex_;
    mutable std::condition_variable doneSignal_;
    std::vector<qint64> firstLines_;
    bool done_ = false;
    qint64 lineCount_ = 0;
};

}  // namespace vastel
