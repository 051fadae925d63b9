#pragma once

#include <QDateTime>
#include <QString>

namespace vastel {

// When the Safe Harbor folder list was last built ("Folders"/"When" of the settings store).

QString longDateText(const QDate& date);       // the locale's long date
QString buildDateText(const QDateTime& when);  // long date, a blank, long time
QString readBuildDate();                       // "Not recorded" when never built
// Stores now, or "Not recorded" for an empty list, and returns the text stored.
QString recordBuildDate(bool listHasEntries, const QDateTime& now = QDateTime::currentDateTime());

}  // namespace vastel
