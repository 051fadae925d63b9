#include "platform/LocalStamps.h"

#include "platform/PackedStamp.h"

namespace vastel {

namespace {

constexpr qint64 kSecondsPerDay = 86400;

qint64 floorDiv(qint64 a, qint64 b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Year, month and day of a day number counted from 1970-01-01 (proleptic Gregorian).
void civilFromDays(qint64 z, int& year, int& month, int& day) {
    z += 719468;
    const qint64 era = floorDiv(z, 146097);
    const qint64 doe = z - era * 146097;
    const qint64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const qint64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const qint64 mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2));
}

// The local time of `seconds` as UTC time plus `offset`.
void shifted(time_t seconds, long offset, tm& out) {
    const qint64 local = qint64(seconds) + offset;
    const qint64 days = floorDiv(local, kSecondsPerDay);
    const qint64 rest = local - days * kSecondsPerDay;
    civilFromDays(days, out.tm_year, out.tm_mon, out.tm_mday);
    out.tm_year -= 1900;
    out.tm_mon -= 1;
    out.tm_hour = int(rest / 3600);
    out.tm_min = int(rest / 60 % 60);
    out.tm_sec = int(rest % 60);
}

bool sameClock(const tm& a, const tm& b) {
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday &&
           a.tm_hour == b.tm_hour && a.tm_min == b.tm_min && a.tm_sec == b.tm_sec;
}

}  // namespace

LocalStamps::LocalStamps() : days_(kSlots) {}

const LocalStamps::Day& LocalStamps::dayOf(qint64 day) {
    Day& d = days_[size_t(day) & (kSlots - 1)];
    if (d.day == day) return d;
    d.day = qint32(day);
    d.offset = kInexact;
    // Days outside what a 32-bit day number and a 16-bit year hold are converted one by one.
    if (day != d.day || day < -700000 || day > 700000) return d;
    // The offset at the first and the last second of the day; equal offsets, and the plain
    // arithmetic agreeing with localtime_r at both ends, make the day exact.
    const time_t first = time_t(day * kSecondsPerDay), last = first + kSecondsPerDay - 1;
    tm a{}, b{};
    if (!localtime_r(&first, &a) || !localtime_r(&last, &b) || a.tm_gmtoff != b.tm_gmtoff ||
        a.tm_gmtoff <= -kSecondsPerDay || a.tm_gmtoff >= kSecondsPerDay)
        return d;
    tm x{}, y{};
    shifted(first, a.tm_gmtoff, x);
    shifted(last, a.tm_gmtoff, y);
    if (!sameClock(a, x) || !sameClock(b, y)) return d;
    d.offset = qint32(a.tm_gmtoff);
    const qint64 firstLocalDay = day + (d.offset < 0 ? -1 : 0);
    for (int i = 0; i < 2; ++i) {
        int year = 0, month = 0, mday = 0;
        civilFromDays(firstLocalDay + i, year, month, mday);
        d.year[i] = qint16(year);
        d.month[i] = quint8(month);
        d.mday[i] = quint8(mday);
    }
    return d;
}

quint32 LocalStamps::pack(time_t seconds) {
    const qint64 utcDay = floorDiv(qint64(seconds), kSecondsPerDay);
    const Day& d = dayOf(utcDay);
    if (d.offset == kInexact) return packDosStamp(seconds);
    const qint64 local = qint64(seconds) + d.offset;
    const qint64 localDay = floorDiv(local, kSecondsPerDay);
    const int rest = int(local - localDay * kSecondsPerDay);
    const int i = localDay == utcDay + (d.offset < 0 ? -1 : 0) ? 0 : 1;
    return packDosStamp(d.year[i], d.month[i], d.mday[i], rest / 3600, rest / 60 % 60, rest % 60);
}

}  // namespace vastel
