#include "inspect/LineIndex.h"

#include <algorithm>
#include <chrono>

namespace vastel {

void LineIndex::append(const std::vector<qint64>& firstLines) {
    const std::lock_guard lock(mutex_);
    firstLines_.insert(firstLines_.end(), firstLines.begin(), firstLines.end());
}

void LineIndex::finish(qint64 lineCount) {
    {
        const std::lock_guard lock(mutex_);
        lineCount_ = lineCount;
        done_ = true;
    }
    doneSignal_.notify_all();
}

qint64 LineIndex::blocksIndexed() const {
    const std::lock_guard lock(mutex_);
    return qint64(firstLines_.size());
}

std::optional<qint64> LineIndex::firstLineOfBlock(qint64 block) const {
    const std::lock_guard lock(mutex_);
    if (block < 0 || block >= qint64(firstLines_.size())) return std::nullopt;
    return firstLines_[size_t(block)];
}

qint64 LineIndex::blockForLine(qint64 line) const {
    const std::lock_guard lock(mutex_);
    const auto it = std::upper_bound(firstLines_.begin(), firstLines_.end(), line);
    return qint64(it - firstLines_.begin()) - 1;
}

std::optional<qint64> LineIndex::lineCount() const {
    const std::lock_guard lock(mutex_);
    if (!done_) return std::nullopt;
    return lineCount_;
}

bool LineIndex::done() const {
    const std::lock_guard lock(mutex_);
    return done_;
}

bool LineIndex::waitDone(int milliseconds) const {
    std::unique_lock lock(mutex_);
    return doneSignal_.wait_for(lock, std::chrono::milliseconds(milliseconds),
                                [this] { return done_; });
}

}  // namespace vastel
