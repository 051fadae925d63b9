#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

namespace vastel {

// Reads the sort key of a number cell: only the digits and the locale's decimal separator count,
// so thousands separators, signs, units and words are ignored ("1,234 KB" -> 1234, "-5" -> 5).
// Text with no digit or with more than one decimal separator reads as 0. Keys are held in
// extended precision, so byte counts up to 2^64 keep every digit.
class NumberKeyReader {
  public:
    explicit NumberKeyReader(const QLocale& locale = QLocale());
    long double key(QStringView text) const;

  private:
    QString decimalPoint_;
};

}  // namespace vastel
