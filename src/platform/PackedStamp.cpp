#include "platform/PackedStamp.h"

#include <QDate>

namespace vastel {

quint32 packDosStamp(int year, int month, int day, int hour, int minute, int second) {
    // A day past the month's end (31 April) would pack into a stamp that unpacks as no date.
    if (year < 1980 || year > 2107 || !QDate::isValid(year, month, day)) return 0;
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) return 0;
    const quint32 date = quint32(((year - 1980) << 9) | (month << 5) | day);
    const quint32 time = quint32((hour << 11) | (minute << 5) | (second / 2));
    return (date << 16) | time;
}

quint32 packDosStamp(time_t seconds) {
    tm local{};
    if (!localtime_r(&seconds, &local)) return 0;
    // Leap seconds (tm_sec 60) pack like :59.
    return packDosStamp(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec > 59 ? 59 : local.tm_sec);
}

DosStampParts unpackDosStamp(quint32 stamp) {
    const quint32 date = stamp >> 16;
    const quint32 time = stamp & 0xFFFF;
    return DosStampParts{
        int((date >> 9) & 0x7F) + 1980, int((date >> 5) & 0x0F), int(date & 0x1F),
        int((time >> 11) & 0x1F),       int((time >> 5) & 0x3F), int(time & 0x1F) * 2};
}

}  // namespace vastel
