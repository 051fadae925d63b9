#include "finders/ui/LiveRows.h"

#include "core/GridModel.h"

namespace vastel {

namespace {
// Often enough to look live, rarely enough that inserting rows costs the walk nothing.
constexpr int kRowsIntervalMs = 150;
}  // namespace

LiveRows::LiveRows(GridModel* model, QObject* parent) : QObject(parent), model_(model) {
    timer_.setInterval(kRowsIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &LiveRows::flush);
}

void LiveRows::start(Take take) {
    take_ = std::move(take);
    timer_.start();
}

void LiveRows::stop() {
    timer_.stop();
    flush();
    take_ = nullptr;
}

void LiveRows::flush() {
    if (!take_ || !model_) return;
    std::vector<ResultRecord> rows = take_();
    if (!rows.empty()) model_->appendRecords(std::move(rows));
}

}  // namespace vastel
