#pragma once

#include <QDateTime>
#include <QString>

namespace vastel {

// Dates and packed file stamps as text, in the locale's formats, with fixed fallbacks.
QString dateText(const QDateTime& value);  // short date; 1 January 1980 if invalid
// "Today", "Yesterday", "Last week", "3 wks ago", "5 yrs 3 mons ago", "Next week", ...
QString relativeDateText(const QDateTime& date, const QDateTime& now);
QString relativeDateText(const QDateTime& date);  // relative to the current date and time

QDateTime fileDateValue(quint32 stamp);  // 1 January 1980 if not a valid date
QString fileDateText(quint32 stamp);     // empty for 0
QString fileTimeText(quint32 stamp);     // empty for 0; "12:00:00" if invalid
QString fileDateKey(quint32 stamp);      // "yyyymmdd"; "19800101" if invalid
QString fileTimeKey(quint32 stamp);      // "hhmm"; "1200" if invalid
int ageInDays(quint32 stamp, const QDateTime& now);
int ageInDays(quint32 stamp);

// The locale's long time format without a time-zone part.
QString longTimeFormat();

// Day numbers: whole days since 30 December 1899 (0 for an invalid date).
int dayNumber(const QDate& date);
QDate dateOfDayNumber(int dayNumber);

}  // namespace vastel
