#pragma once

#include <QtGlobal>
#include <ctime>
#include <limits>
#include <vector>

namespace vastel {

// Packs many times into MS-DOS stamps (PackedStamp.h) quickly: the local offset of each UTC day
// is looked up once with localtime_r and remembered, so a walk does not pay a time-zone
// conversion per stamp. Days with a change of offset, and zones whose local time is not the UTC
// time plus an offset, go through localtime_r each time. The same result as packDosStamp(time_t).
class LocalStamps {
  public:
    LocalStamps();
    quint32 pack(time_t seconds);
    // Starts loading the day of a stamp that pack() will soon need; a walk's system calls
    // push the table out of the processor's caches between files.
    void prefetch(time_t seconds) const {
        __builtin_prefetch(&days_[size_t(qint64(seconds) / 86400) & (kSlots - 1)]);
    }

  private:
    // 16 bytes, so that the table stays in the processor's caches between system calls.
    struct Day {
        qint32 day = std::numeric_limits<qint32>::min();  // UTC day number, or none
        qint32 offset = kInexact;  // seconds east of UTC for the whole day, or kInexact
        qint16 year[2] = {0, 0};   // the local dates of the day's first second and the next day
        quint8 month[2] = {0, 0};
        quint8 mday[2] = {0, 0};
    };
    static constexpr qint32 kInexact = std::numeric_limits<qint32>::min();
    static constexpr size_t kSlots = 4096;  // a power of two: eleven years without sharing
    const Day& dayOf(qint64 day);
    std::vector<Day> days_;
};

}  // namespace vastel
