#include "core/DateTexts.h"

#include "platform/PackedStamp.h"

#include <QLocale>
#include <cstdlib>

namespace vastel {

namespace {

const QDate kFallbackDate(1980, 1, 1);
const QDate kDayZero(1899, 12, 30);

// Weekday numbers 1 (Sunday) to 7 (Saturday); Qt counts 1 (Monday) to 7 (Sunday).
int weekdayNumber(const QDate& date) { return date.dayOfWeek() % 7 + 1; }

QString monthsWord(int months) {
    return months > 1 ? QStringLiteral(" mons") : QStringLiteral(" mon");
}

// "N yrs M mons" (ago) for spans of more than two calendar years, else "M mons" (ago).
QString yearsAndMonths(int years, int months, bool past) {
    if (years <= 2) return QString::number(months) + monthsWord(months) + (past ? " ago" : "");
    const int g = years - 1;
    const int r = months - 12 * g;
    const int monthPart = r < 12 ? r : r % 12;
    const int yearPart = r < 12 ? g : g + r / 12;
    if (!past) {
        QString text = QString::number(yearPart) + QStringLiteral(" yrs");
        if (monthPart > 0)
            text += QLatin1Char(' ') + QString::number(monthPart) + monthsWord(monthPart);
        return text;
    }
    QString text = QString::number(yearPart) + QStringLiteral(" yrs ");
    if (monthPart > 0)
        text += QString::number(monthPart) + monthsWord(monthPart) + QLatin1Char(' ');
    return text + QStringLiteral("ago");
}

// The stamp's date and time when both parts are valid.
bool decodeStamp(quint32 stamp, QDate* date, QTime* time) {
    const DosStampParts p = unpackDosStamp(stamp);
    *date = QDate(p.year, p.month, p.day);
    *time = QTime(p.hour, p.minute, p.second);
    return date->isValid() && time->isValid();
}

}  // namespace

QString longTimeFormat() {
    const QString format = QLocale().timeFormat(QLocale::LongFormat);
    QString out;
    bool droppedAtStart = false;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        if (c == QLatin1Char('\'')) {
            // Quoted literal text, with '' standing for one quote, is kept as it is.
            const qsizetype begin = i;
            for (++i; i < format.size(); ++i) {
                if (format[i] != QLatin1Char('\'')) continue;
                if (i + 1 < format.size() && format[i + 1] == QLatin1Char('\'')) {
                    ++i;
                    continue;
                }
                break;
            }
            out += QStringView(format).mid(begin, i - begin + 1);
            continue;
        }
        if (c == QLatin1Char('t')) {
            // Qt 6 adds the time zone ("t") to the long format; the blank before it goes too.
            while (i + 1 < format.size() && format[i + 1] == QLatin1Char('t')) ++i;
            while (!out.isEmpty() && out.back().isSpace()) out.chop(1);
            droppedAtStart = out.isEmpty();
            continue;
        }
        if (droppedAtStart && c.isSpace()) continue;
        droppedAtStart = false;
        out += c;
    }
    out.replace(QLatin1String("()"), QString());
    out.replace(QLatin1String("[]"), QString());
    return out.trimmed();
}

QString dateText(const QDateTime& value) {
    const QDate date = value.isValid() && value.date().isValid() ? value.date() : kFallbackDate;
    const QString text = QLocale().toString(date, QLocale::ShortFormat);
    return text.isEmpty() ? QLocale().toString(kFallbackDate, QLocale::ShortFormat) : text;
}

QString relativeDateText(const QDateTime& date, const QDateTime& now) {
    if (!date.isValid() || !now.isValid()) return QString();
    const QDate d = date.date();
    const QDate today = now.date();
    const bool future = d > today;
    const int days = int(std::llabs(today.daysTo(d)));

    if (days == 0) return QStringLiteral("Today");
    if (days == 1) return future ? QStringLiteral("Tomorrow") : QStringLiteral("Yesterday");

    if (future) {
        const int todayWeekday = weekdayNumber(today);
        const int weeks = (days + todayWeekday - 1) / 7;
        if (7 - todayWeekday >= days) return QStringLiteral("This week");
        if (weeks < 2) return QStringLiteral("Next week");
        const int months = 12 * (d.year() - today.year()) + (d.month() - today.month());
        if (months > 2) return yearsAndMonths(d.year() - today.year(), months, false);
        return QString::number(weeks) + QStringLiteral(" wks");
    }
    const int weeks = (weekdayNumber(d) + days - 1) / 7;
    if (weeks == 0) return QStringLiteral("This week");
    if (weeks == 1) return QStringLiteral("Last week");
    const int months = 12 * (today.year() - d.year()) + (today.month() - d.month());
    if (months > 2) return yearsAndMonths(today.year() - d.year(), months, true);
    return QString::number(weeks) + QStringLiteral(" wks ago");
}

QString relativeDateText(const QDateTime& date) {
    return relativeDateText(date, QDateTime::currentDateTime());
}

QDateTime fileDateValue(quint32 stamp) {
    QDate date;
    QTime time;
    if (!decodeStamp(stamp, &date, &time)) return QDateTime(kFallbackDate, QTime(0, 0));
    return QDateTime(date, time);
}

QString fileDateText(quint32 stamp) {
    if (stamp == 0) return QString();
    return dateText(fileDateValue(stamp));
}

QString fileTimeText(quint32 stamp) {
    if (stamp == 0) return QString();
    QDate date;
    QTime time;
    if (!decodeStamp(stamp, &date, &time)) return QStringLiteral("12:00:00");
    const QString text = QLocale().toString(time, longTimeFormat());
    return text.isEmpty() ? QStringLiteral("12:00:00") : text;
}

QString fileDateKey(quint32 stamp) {
    QDate date;
    QTime time;
    if (!decodeStamp(stamp, &date, &time)) return QStringLiteral("19800101");
    return date.toString(QStringLiteral("yyyyMMdd"));
}

QString fileTimeKey(quint32 stamp) {
    QDate date;
    QTime time;
    if (!decodeStamp(stamp, &date, &time)) return QStringLiteral("1200");
    return time.toString(QStringLiteral("HHmm"));
}

int ageInDays(quint32 stamp, const QDateTime& now) {
    if (stamp == 0) return -1;
    return int(std::llabs(now.date().daysTo(fileDateValue(stamp).date())));
}

int ageInDays(quint32 stamp) { return ageInDays(stamp, QDateTime::currentDateTime()); }

int dayNumber(const QDate& date) { return date.isValid() ? int(kDayZero.daysTo(date)) : 0; }

QDate dateOfDayNumber(int dayNumber) { return kDayZero.addDays(dayNumber); }

}  // namespace vastel
