#pragma once

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <vector>

namespace vastel {

// Reads texts written in the locale's short date format, as the grids show file dates. The
// format is taken apart once, so a million cells read quickly. A two-digit year is placed in
// the hundred years that end 19 years after the current year, so "1/5/24" reads as 2024 and
// not 1924. A text that is not exactly such a date (one followed by a time, say) is unreadable.
class ShortDateReader {
  public:
    explicit ShortDateReader(const QLocale& locale = QLocale(),
                             int currentYear = QDate::currentDate().year());

    QDate read(QStringView text) const;  // invalid when unreadable
    // Days since 30 December 1899; unreadable and empty texts give 1 January 1900.
    double key(QStringView text) const;

    static double dayKey(const QDate& date);

  private:
    enum class Field { Literal, Day, Month, Year2, Year4 };
    struct Token {
        Field field;
        QString literal;
    };

    bool parseFormat();
    QDate readNumeric(QStringView text) const;
    QDate readWithLocale(QStringView text) const;
    int fullYear(int twoDigits) const;

    QLocale locale_;
    QString format_;
    int currentYear_;
    bool numeric_ = false;  // the format holds only numeric fields and literal text
    bool twoDigitYear_ = false;
    std::vector<Token> tokens_;
    mutable QHash<QString, QDate> cache_;  // for formats read through QLocale (month names, ...)
};

}  // namespace vastel
