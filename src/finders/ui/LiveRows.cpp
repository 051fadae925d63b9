#include "finders/ui/LiveRows.h"

#include "core/GridModel.h"

#include <algorithm>

namespace vastel {

namespace {
// The first rows show soon; then the batches come less often, since a grid of many rows pays
// for each insertion, so that a big scan spends its time walking.
constexpr int kFirstRowsMs = 150;
constexpr int kMostRowsMs = 1200;
}  // namespace

LiveRows::LiveRows(GridModel* model, QObject* parent) : QObject(parent), model_(model) {
    connect(&timer_, &QTimer::timeout, this, &LiveRows::flush);
}

void LiveRows::start(Take take) {
    take_ = std::move(take);
    timer_.start(kFirstRowsMs);
}

void LiveRows::stop() {
    timer_.stop();
    flush();
    take_ = nullptr;
}

void LiveRows::flush() {
    if (!take_ || !model_) return;
    std::vector<ResultRecord> rows = take_();
    if (rows.empty()) return;
    model_->appendRecords(std::move(rows));
    if (timer_.isActive() && timer_.interval() < kMostRowsMs)
        timer_.setInterval(std::min(2 * timer_.interval(), kMostRowsMs));
}

}  // namespace vastel
