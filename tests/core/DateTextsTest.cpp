#include "core/DateTexts.h"

#include "platform/PackedStamp.h"

#include "support/LocaleScope.h"

#include <gtest/gtest.h>
#include <QLocale>

namespace vastel {
namespace {

using test::kEnglishUs;
using test::kGerman;
using test::LocaleScope;

QDateTime at(int y, int m, int d, int h = 12, int min = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min));
}

struct RelativeCase {
    QDateTime now;
    QDateTime date;
    const char* expected;
};

void PrintTo(const RelativeCase& c, std::ostream* os) {
    *os << c.now.toString(Qt::ISODate).toStdString() << " / "
        << c.date.toString(Qt::ISODate).toStdString();
}

class RelativeDateTest : public ::testing::TestWithParam<RelativeCase> {};

TEST_P(RelativeDateTest, PhraseRelativeToNow) {
    EXPECT_EQ(relativeDateText(GetParam().date, GetParam().now).toStdString(), GetParam().expected);
}

// Now is Wednesday 15 May 2024, noon, unless a case says otherwise.
const QDateTime kWed = at(2024, 5, 15);

INSTANTIATE_TEST_SUITE_P(
    Past, RelativeDateTest,
    ::testing::Values(
        RelativeCase{kWed, at(2024, 5, 15, 0, 1), "Today"},
        RelativeCase{kWed, at(2024, 5, 15, 23, 59), "Today"},  // later today is not future
        RelativeCase{kWed, at(2024, 5, 14, 23, 59), "Yesterday"},
        RelativeCase{kWed, at(2024, 5, 12), "This week"},            // Sunday, 3 days back
        RelativeCase{kWed, at(2024, 5, 11), "Last week"},            // Saturday before
        RelativeCase{kWed, at(2024, 5, 5), "Last week"},             // 10 days back, a Sunday
        RelativeCase{at(2024, 5, 19), at(2024, 5, 9), "2 wks ago"},  // 10 days back, a Thursday
        RelativeCase{kWed, at(2024, 5, 4), "2 wks ago"},
        RelativeCase{kWed, at(2024, 3, 20), "8 wks ago"},   // two months: still weeks
        RelativeCase{kWed, at(2024, 2, 14), "3 mons ago"},  // M = 3
        RelativeCase{kWed, at(2023, 1, 1), "16 mons ago"},
        RelativeCase{kWed, at(2022, 4, 15), "25 mons ago"},        // two calendar years back
        RelativeCase{kWed, at(2021, 12, 15), "2 yrs 5 mons ago"},  // three years, 29 months
        RelativeCase{kWed, at(2021, 4, 1), "3 yrs 1 mon ago"},
        RelativeCase{kWed, at(2020, 5, 1), "4 yrs ago"},
        RelativeCase{kWed, at(2019, 2, 28), "5 yrs 3 mons ago"},      // 63 months back
        RelativeCase{at(2024, 1, 2), at(2023, 12, 31), "This week"},  // across New Year
        RelativeCase{kWed, QDateTime(), ""}));

INSTANTIATE_TEST_SUITE_P(
    Future, RelativeDateTest,
    ::testing::Values(RelativeCase{kWed, at(2024, 5, 16, 0, 0), "Tomorrow"},
                      RelativeCase{kWed, at(2024, 5, 18), "This week"},  // Saturday
                      RelativeCase{kWed, at(2024, 5, 19), "Next week"},  // Sunday after
                      RelativeCase{kWed, at(2024, 5, 25), "Next week"},
                      RelativeCase{kWed, at(2024, 5, 26), "2 wks"},
                      RelativeCase{kWed, at(2024, 6, 26), "6 wks"},
                      RelativeCase{kWed, at(2024, 8, 15), "3 mons"},
                      RelativeCase{kWed, at(2026, 6, 1), "25 mons"},
                      RelativeCase{kWed, at(2027, 6, 1), "3 yrs 1 mon"},
                      RelativeCase{kWed, at(2028, 5, 1), "4 yrs"},
                      RelativeCase{kWed, at(2029, 8, 1), "5 yrs 3 mons"},
                      RelativeCase{at(2024, 5, 12), at(2024, 5, 18), "This week"}));  // Sun->Sat

TEST(DateTextsTest, RelativeToTheCurrentDate) {
    EXPECT_EQ(relativeDateText(QDateTime::currentDateTime()), "Today");
    EXPECT_EQ(relativeDateText(QDateTime::currentDateTime().addDays(-1)), "Yesterday");
}

TEST(DateTextsTest, LocaleTexts) {
    const quint32 stamp = packDosStamp(2024, 3, 7, 14, 5, 6);
    const quint32 invalid = (quint32(44 << 9 | 13 << 5 | 7) << 16) | (31 << 11);  // month 13
    {
        LocaleScope english(kEnglishUs);
        EXPECT_EQ(fileDateText(stamp), "3/7/24");
        EXPECT_EQ(fileTimeText(stamp), "2:05:06 PM");
        EXPECT_EQ(dateText(QDateTime()), "1/1/80");
        EXPECT_EQ(fileDateText(invalid), "1/1/80");
    }
    {
        LocaleScope german(kGerman);
        EXPECT_EQ(fileDateText(stamp), "07.03.24");
        EXPECT_EQ(fileTimeText(stamp), "14:05:06");
        EXPECT_EQ(dateText(at(2024, 12, 31)), "31.12.24");
        EXPECT_EQ(dateText(QDateTime()), "01.01.80");
    }
    EXPECT_EQ(fileTimeText(invalid), "12:00:00");
    EXPECT_EQ(fileDateText(0), "");
    EXPECT_EQ(fileTimeText(0), "");
}

TEST(DateTextsTest, LongTimeFormatLosesOnlyTheTimeZone) {
    const struct {
        const char* locale;
        const char* expected;
    } cases[] = {
        {"en_US", "h:mm:ss AP"},
        {"de_DE", "HH:mm:ss"},
        {"zh_CN", "HH:mm:ss"},             // zone first
        {"es_ES", "H:mm:ss"},              // zone in brackets
        {"bg_BG", "H:mm:ss '\xd1\x87'."},  // quoted text stays
    };
    for (const auto& c : cases) {
        LocaleScope scope{QLocale(QString::fromLatin1(c.locale))};
        ASSERT_TRUE(QLocale().timeFormat(QLocale::LongFormat).contains(QLatin1Char('t')))
            << c.locale;
        EXPECT_EQ(longTimeFormat().toStdString(), c.expected) << c.locale;
    }
}

// File times are made without QLocale's formatter where the format allows; the texts must be
// QLocale's own in every locale, on the hour, around noon and midnight, and in between.
TEST(DateTextsTest, FileTimesReadAsTheLocaleWritesThem) {
    const QList<QLocale> locales =
        QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
    std::vector<QTime> times;
    for (int s = 0; s < 86400; s += 1198) times.push_back(QTime(0, 0).addSecs(s));
    for (const int h : {0, 11, 12, 23}) times.push_back(QTime(h, 59, 58));
    for (const QLocale& locale : locales) {
        LocaleScope scope{locale};
        const QString format = longTimeFormat();
        for (const QTime& t : times) {
            const quint32 stamp = packDosStamp(2024, 3, 7, t.hour(), t.minute(), t.second());
            ASSERT_EQ(fileTimeText(stamp), QLocale().toString(t, format))
                << locale.name().toStdString() << " " << t.toString().toStdString();
        }
    }
}

TEST(DateTextsTest, SortKeys) {
    EXPECT_EQ(fileDateKey(packDosStamp(2024, 3, 7, 14, 5, 6)), "20240307");
    EXPECT_EQ(fileTimeKey(packDosStamp(2024, 3, 7, 14, 5, 6)), "1405");
    EXPECT_EQ(fileTimeKey(packDosStamp(2024, 3, 7, 0, 9, 0)), "0009");
    // No stamp, or one that does not decode: the fixed fallbacks.
    EXPECT_EQ(fileDateKey(0), "19800101");
    EXPECT_EQ(fileTimeKey(0), "1200");
    const quint32 badTime = (packDosStamp(2024, 3, 7, 0, 0, 0) & 0xFFFF0000u) | (25u << 11);
    EXPECT_EQ(fileDateKey(badTime), "19800101");
    EXPECT_EQ(fileTimeKey(badTime), "1200");
    EXPECT_EQ(fileDateValue(badTime), at(1980, 1, 1, 0, 0));
    EXPECT_EQ(fileDateValue(packDosStamp(2107, 12, 31, 23, 59, 58)),
              QDateTime(QDate(2107, 12, 31), QTime(23, 59, 58)));
}

TEST(DateTextsTest, AgeInWholeDaysEitherWay) {
    const QDateTime now = at(2024, 5, 15, 0, 1);
    EXPECT_EQ(ageInDays(0, now), -1);
    EXPECT_EQ(ageInDays(packDosStamp(2024, 5, 14, 23, 58, 0), now), 1);  // two minutes ago
    EXPECT_EQ(ageInDays(packDosStamp(2024, 5, 15, 23, 58, 0), now), 0);
    EXPECT_EQ(ageInDays(packDosStamp(2024, 5, 5, 12, 0, 0), now), 10);
    EXPECT_EQ(ageInDays(packDosStamp(2024, 5, 25, 12, 0, 0), now), 10);  // future counts alike
    EXPECT_EQ(ageInDays(packDosStamp(2023, 5, 15, 12, 0, 0), now), 366);
}

TEST(DateTextsTest, DayNumbersCountFromThe30thOfDecember1899) {
    EXPECT_EQ(dayNumber(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(dayNumber(QDate(1900, 1, 1)), 2);
    EXPECT_EQ(dayNumber(QDate(2000, 1, 1)), 36526);
    EXPECT_EQ(dayNumber(QDate(1899, 12, 29)), -1);
    EXPECT_EQ(dateOfDayNumber(45427), QDate(2024, 5, 15));
    EXPECT_EQ(dateOfDayNumber(dayNumber(QDate(2038, 1, 20))), QDate(2038, 1, 20));
}

TEST(PackedStampTest, PacksLocalTimeAndRejectsWhatItCannotHold) {
    const quint32 s = packDosStamp(2024, 3, 7, 14, 5, 7);
    EXPECT_EQ(s >> 16, quint32((44 << 9) | (3 << 5) | 7));
    const DosStampParts p = unpackDosStamp(s);
    EXPECT_EQ(QDateTime(QDate(p.year, p.month, p.day), QTime(p.hour, p.minute, p.second)),
              QDateTime(QDate(2024, 3, 7), QTime(14, 5, 6)));  // two-second steps
    EXPECT_EQ(packDosStamp(1979, 12, 31, 23, 59, 59), 0u);
    EXPECT_EQ(packDosStamp(2108, 1, 1, 0, 0, 0), 0u);
    EXPECT_EQ(packDosStamp(2023, 2, 29, 0, 0, 0), 0u);
    EXPECT_EQ(packDosStamp(2024, 4, 31, 0, 0, 0), 0u);
    EXPECT_NE(packDosStamp(2024, 2, 29, 0, 0, 0), 0u);
    EXPECT_EQ(packDosStamp(2024, 1, 1, 24, 0, 0), 0u);

    const QDateTime local(QDate(2021, 7, 4), QTime(9, 30, 20));
    EXPECT_EQ(packDosStamp(time_t(local.toSecsSinceEpoch())), packDosStamp(2021, 7, 4, 9, 30, 20));
    EXPECT_EQ(packDosStamp(time_t(0)), 0u);  // 1970
}

}  // namespace
}  // namespace vastel
