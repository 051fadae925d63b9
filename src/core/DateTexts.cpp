#include "core/DateTexts.h"

#include "platform/PackedStamp.h"

#include <QLocale>
#include <cstdlib>
#include <memory>
#include <vector>

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

// The long time format made without QLocale for each call: a disk holds tens of thousands of
// distinct file times, and QLocale's formatter costs microseconds per text. The format's
// pieces are read once per locale; a format with anything but hours, minutes, seconds, the
// AM/PM marker and literal text, a locale with other digits, or any sample time on which the
// result differs from QLocale's keeps QLocale's formatter.
class TimeTemplate {
  public:
    explicit TimeTemplate(const QLocale& locale) : locale_(locale), format_(longTimeFormat()) {
        usable_ = parse() && locale_.zeroDigit() == QLatin1String("0");
        for (const QTime sample : {QTime(0, 0, 0), QTime(1, 2, 4), QTime(9, 30, 58),
                                   QTime(12, 0, 2), QTime(13, 5, 10), QTime(23, 59, 58)})
            if (usable_ && text(sample) != locale_.toString(sample, format_)) usable_ = false;
    }
    bool sameLocale(const QLocale& locale) const {
        return locale == locale_ && locale.name() == locale_.name();
    }
    QString text(const QTime& time) const {
        if (!usable_) return locale_.toString(time, format_);
        QString out;
        out.reserve(16);
        for (const Piece& p : pieces_) {
            switch (p.kind) {
                case Kind::Literal:
                    out += p.literal;
                    break;
                case Kind::Hour12:
                case Kind::Hour24: {
                    int h = time.hour();
                    if (p.kind == Kind::Hour12) h = h % 12 == 0 ? 12 : h % 12;
                    number(out, h, p.wide);
                    break;
                }
                case Kind::Minute:
                    number(out, time.minute(), p.wide);
                    break;
                case Kind::Second:
                    number(out, time.second(), p.wide);
                    break;
                case Kind::Marker:
                    out += time.hour() < 12 ? p.literal : p.pmText;
                    break;
            }
        }
        return out;
    }

  private:
    enum class Kind { Literal, Hour12, Hour24, Minute, Second, Marker };
    struct Piece {
        Kind kind = Kind::Literal;
        bool wide = false;  // two digits
        QString literal;    // the text, or the AM text of a marker
        QString pmText;
    };

    static void number(QString& out, int n, bool wide) {
        if (wide || n >= 10) out += QChar(u'0' + n / 10);
        out += QChar(u'0' + n % 10);
    }

    bool parse() {
        const QString& f = format_;
        const bool twelveHour = f.contains(QLatin1Char('a'), Qt::CaseInsensitive);
        for (qsizetype i = 0; i < f.size();) {
            const QChar c = f[i];
            qsizetype run = 1;
            while (i + run < f.size() && f[i + run] == c) ++run;
            Piece p;
            if (c == QLatin1Char('\'')) {
                // Quoted text; '' inside or alone stands for one quote.
                qsizetype j = i + 1;
                QString text;
                bool closed = false;
                while (j < f.size()) {
                    if (f[j] == QLatin1Char('\'')) {
                        if (j + 1 < f.size() && f[j + 1] == QLatin1Char('\'')) {
                            text += QLatin1Char('\'');
                            j += 2;
                            continue;
                        }
                        closed = true;
                        ++j;
                        break;
                    }
                    text += f[j++];
                }
                if (!closed) return false;
                if (j == i + 2) text = QStringLiteral("'");
                p.literal = text;
                pieces_.push_back(p);
                i = j;
                continue;
            }
            if (c == QLatin1Char('h') || c == QLatin1Char('H')) {
                if (run > 2) return false;
                p.kind = c == QLatin1Char('h') && twelveHour ? Kind::Hour12 : Kind::Hour24;
            } else if (c == QLatin1Char('m') || c == QLatin1Char('s')) {
                if (run > 2) return false;
                p.kind = c == QLatin1Char('m') ? Kind::Minute : Kind::Second;
            } else if (c == QLatin1Char('a') || c == QLatin1Char('A')) {
                // "AP", "ap", "A", "a": the marker in upper or lower case.
                const bool upper = c == QLatin1Char('A');
                run = 1;
                if (i + 1 < f.size() &&
                    (f[i + 1] == QLatin1Char('p') || f[i + 1] == QLatin1Char('P'))) {
                    if ((f[i + 1] == QLatin1Char('P')) != upper) return false;
                    run = 2;
                }
                p.kind = Kind::Marker;
                p.literal = upper ? locale_.amText().toUpper() : locale_.amText().toLower();
                p.pmText = upper ? locale_.pmText().toUpper() : locale_.pmText().toLower();
            } else if (c.isLetter()) {
                return false;  // milliseconds, time zones and the like
            } else {
                p.literal = QString(run, c);
            }
            p.wide = run == 2;
            pieces_.push_back(p);
            i += run;
        }
        return true;
    }

    QLocale locale_;
    QString format_;
    std::vector<Piece> pieces_;
    bool usable_ = false;
};

QString longTimeText(const QTime& time) {
    // Per thread: the finders make texts on their own threads too.
    thread_local std::unique_ptr<TimeTemplate> cached;
    const QLocale locale;
    if (!cached || !cached->sameLocale(locale)) cached = std::make_unique<TimeTemplate>(locale);
    return cached->text(time);
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
    const QString text = longTimeText(time);
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
