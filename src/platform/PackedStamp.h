#pragma once

#include <QtGlobal>
#include <ctime>

namespace vastel {

// The MS-DOS (FAT) date-time in local time: date in the high 16 bits, time in the low 16 bits.
// 0 means "no time". Times before 1980 or after 2107 pack to 0.
quint32 packDosStamp(time_t seconds);
quint32 packDosStamp(int year, int month, int day, int hour, int minute, int second);

struct DosStampParts {
    int year, month, day, hour, minute, second;
};
DosStampParts unpackDosStamp(quint32 stamp);

}  // namespace vastel
