#include "core/ShortDateReader.h"

namespace vastel {

namespace {

const QDate kDayZero(1899, 12, 30);
const QDate kUnreadable(1900, 1, 1);

bool isAsciiLetter(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

}  // namespace

ShortDateReader::ShortDateReader(const QLocale& locale, int currentYear)
    : locale_(locale), format_(locale.dateFormat(QLocale::ShortFormat)), currentYear_(currentYear) {
    numeric_ = parseFormat() && locale_.zeroDigit() == QStringLiteral("0");
}

double ShortDateReader::dayKey(const QDate& date) { return double(kDayZero.daysTo(date)); }

double ShortDateReader::key(QStringView text) const {
    const QDate date = read(text);
    return dayKey(date.isValid() ? date : kUnreadable);
}

QDate ShortDateReader::read(QStringView text) const {
    text = text.trimmed();
    if (text.isEmpty()) return {};
    return numeric_ ? readNumeric(text) : readWithLocale(text);
}

// Splits the format into day, month and year fields and the literal text between them. Returns
// false when the format holds anything else (names of months or days, times), which the locale
// then reads.
bool ShortDateReader::parseFormat() {
    int days = 0, months = 0, years = 0;
    bool numeric = true;
    QString literal;
    const auto flushLiteral = [&] {
        if (!literal.isEmpty()) tokens_.push_back({Field::Literal, literal});
        literal.clear();
    };
    for (qsizetype i = 0; i < format_.size();) {
        const QChar c = format_[i];
        if (c == QLatin1Char('\'')) {
            // Quoted text; '' stands for one quote, inside quotes and out.
            if (i + 1 < format_.size() && format_[i + 1] == QLatin1Char('\'')) {
                literal += c;
                i += 2;
                continue;
            }
            for (++i; i < format_.size(); ++i) {
                if (format_[i] != QLatin1Char('\'')) {
                    literal += format_[i];
                } else if (i + 1 < format_.size() && format_[i + 1] == QLatin1Char('\'')) {
                    literal += format_[i++];
                } else {
                    break;
                }
            }
            ++i;
            continue;
        }
        if (!isAsciiLetter(c)) {
            literal += c;
            ++i;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format_.size() && format_[i + run] == c) ++run;
        i += run;
        flushLiteral();
        if (c == QLatin1Char('d') && run <= 2) {
            tokens_.push_back({Field::Day, {}});
            ++days;
        } else if (c == QLatin1Char('M') && run <= 2) {
            tokens_.push_back({Field::Month, {}});
            ++months;
        } else if (c == QLatin1Char('y') && (run == 2 || run == 4)) {
            tokens_.push_back({run == 2 ? Field::Year2 : Field::Year4, {}});
            twoDigitYear_ = run == 2;
            ++years;
        } else {
            numeric = false;
        }
    }
    flushLiteral();
    return numeric && days == 1 && months == 1 && years == 1;
}

int ShortDateReader::fullYear(int twoDigits) const {
    const int last = currentYear_ + 19;
    return last - ((last - twoDigits) % 100 + 100) % 100;
}

QDate ShortDateReader::readNumeric(QStringView text) const {
    int day = 0, month = 0, year = 0;
    qsizetype pos = 0;
    for (size_t t = 0; t < tokens_.size(); ++t) {
        const Token& token = tokens_[t];
        if (token.field == Field::Literal) {
            if (!text.mid(pos).startsWith(token.literal)) return {};
            pos += token.literal.size();
            continue;
        }
        // Day and month take one or two digits; a year two or four. Digits run to the next
        // literal; fields written without a separator take exactly their usual width.
        const bool delimited = t + 1 == tokens_.size() || tokens_[t + 1].field == Field::Literal;
        qsizetype end = pos;
        while (end < text.size() && end - pos < 4 && text[end] >= QLatin1Char('0') &&
               text[end] <= QLatin1Char('9'))
            ++end;
        qsizetype width = end - pos;
        const bool yearField = token.field == Field::Year2 || token.field == Field::Year4;
        if (!delimited) {
            const qsizetype wanted = token.field == Field::Year4 ? 4 : 2;
            if (width < wanted) return {};
            width = wanted;
        }
        if (yearField ? (width != 2 && width != 4) : (width < 1 || width > 2)) return {};
        int value = 0;
        for (qsizetype k = pos; k < pos + width; ++k)
            value = value * 10 + (text[k].unicode() - u'0');
        pos += width;
        switch (token.field) {
            case Field::Day:
                day = value;
                break;
            case Field::Month:
                month = value;
                break;
            default:
                year = width == 2 ? fullYear(value) : value;
                break;
        }
    }
    if (pos != text.size()) return {};
    return QDate(year, month, day);
}

QDate ShortDateReader::readWithLocale(QStringView text) const {
    const QString key = text.toString();
    const auto found = cache_.constFind(key);
    if (found != cache_.constEnd()) return *found;
    QDate date = locale_.toDate(key, format_);
    // The locale reads two-digit years as 19xx; place them in the window instead.
    if (date.isValid() && twoDigitYear_)
        date = QDate(fullYear(date.year() % 100), date.month(), date.day());
    cache_.insert(key, date);
    return date;
}

}  // namespace vastel
