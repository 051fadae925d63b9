#pragma once

#include <QLocale>

namespace vastel::test {

// Runs a test under a given default locale and puts the previous one back.
class LocaleScope {
  public:
    explicit LocaleScope(const QLocale& locale) : saved_(QLocale()) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(saved_); }

  private:
    QLocale saved_;
};

inline const QLocale kEnglishUs(QLocale::English, QLocale::UnitedStates);
inline const QLocale kGerman(QLocale::German, QLocale::Germany);

}  // namespace vastel::test
