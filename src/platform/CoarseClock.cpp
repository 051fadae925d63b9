#include "platform/CoarseClock.h"

#include <ctime>

namespace vastel {

qint64 coarseMilliseconds() {
    // The coarse clock is read without a system call in a few nanoseconds.
    timespec ts;
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
    return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace vastel
