#include "core/Utility.h"

#include "platform/FileTypes.h"

#include "support/LocaleScope.h"

#include <gtest/gtest.h>
#include <QLocale>
#include <cmath>
#include <limits>

namespace vastel {
namespace {

using test::kEnglishUs;
using test::kGerman;
using test::LocaleScope;

TEST(UtilityTest, JoinPathPutsOneSeparatorBetween) {
    EXPECT_EQ(joinPath(QStringLiteral("/"), QStringLiteral("a.txt")), "/a.txt");
    EXPECT_EQ(joinPath(QStringLiteral("/data"), QStringLiteral("a.txt")), "/data/a.txt");
    EXPECT_EQ(joinPath(QStringLiteral("/data/"), QStringLiteral("a.txt")), "/data/a.txt");
    EXPECT_EQ(joinPath(QStringLiteral(""), QStringLiteral("a.txt")), "a.txt");
    EXPECT_EQ(joinPath(QByteArray("/data/\xff"), QByteArray("na\tme")), "/data/\xff/na\tme");
    EXPECT_EQ(joinPath(QByteArray("/"), QByteArray("x")), "/x");
}

TEST(UtilityTest, SafeStrToIntReadsDecimalOrZero) {
    const struct {
        const char* text;
        int expected;
    } cases[] = {{"42", 42},
                 {"-42", -42},
                 {" 7 ", 7},
                 {"+3", 3},
                 {"", 0},
                 {"abc", 0},
                 {"12a", 0},
                 {"1.5", 0},
                 {"0x1F", 0},
                 {"-", 0},
                 {"2147483647", INT_MAX},
                 {"-2147483648", INT_MIN},
                 {"2147483648", 0},
                 {"-2147483649", 0},
                 {"99999999999999999999999", 0}};
    for (const auto& c : cases)
        EXPECT_EQ(safeStrToInt(QString::fromUtf8(c.text)), c.expected) << c.text;
}

TEST(UtilityTest, SafeStrToFloatFollowsTheLocale) {
    {
        LocaleScope english(kEnglishUs);
        EXPECT_DOUBLE_EQ(safeStrToFloat("1.5"), 1.5);
        EXPECT_DOUBLE_EQ(safeStrToFloat("1,234.5"), 1234.5);
        EXPECT_DOUBLE_EQ(safeStrToFloat(" -2 "), -2.0);
        EXPECT_EQ(safeStrToFloat("1,5"), 0.0);  // "," groups thousands here, not two digits
    }
    {
        LocaleScope german(kGerman);
        EXPECT_DOUBLE_EQ(safeStrToFloat("1,5"), 1.5);
        EXPECT_DOUBLE_EQ(safeStrToFloat("1.234,5"), 1234.5);
    }
    for (const char* bad : {"", "abc", "1.5x", "inf", "nan", "1e999"})
        EXPECT_EQ(safeStrToFloat(QString::fromUtf8(bad)), 0.0) << bad;
}

TEST(UtilityTest, ThousandsTextGroupsWholeNumbers) {
    {
        LocaleScope english(kEnglishUs);
        EXPECT_EQ(thousandsText(1234567), "1,234,567");
        EXPECT_EQ(thousandsText(0), "0");
        EXPECT_EQ(thousandsText(999), "999");
        EXPECT_EQ(thousandsText(-1234), "-1,234");
        EXPECT_EQ(thousandsText(3000000000LL), "3,000,000,000");  // past 32 bits
        // Exact where a double would round (2^53 + 1).
        EXPECT_EQ(thousandsText(9007199254740993LL), "9,007,199,254,740,993");
    }
    LocaleScope german(kGerman);
    EXPECT_EQ(thousandsText(1234567), "1.234.567");
}

TEST(UtilityTest, NumberTextRoundsAndGroups) {
    {
        LocaleScope english(kEnglishUs);
        EXPECT_EQ(numberText(1234567.4), "1,234,567");
        EXPECT_EQ(numberText(1234567.5), "1,234,568");
        EXPECT_EQ(numberText(-0.4), "0");
        EXPECT_EQ(numberText(-2.5), "-3");
        EXPECT_EQ(numberText(99999999999999.0), "99,999,999,999,999");
        // At most 14 significant digits.
        EXPECT_EQ(numberText(123456789012345678.0), "123,456,789,012,350,000");
        EXPECT_FALSE(numberText(1e300).isEmpty());
        EXPECT_EQ(numberText(std::numeric_limits<double>::quiet_NaN()), "");
        EXPECT_EQ(numberText(std::numeric_limits<double>::infinity()), "");
        EXPECT_EQ(numberText(-std::numeric_limits<double>::infinity()), "");
    }
    LocaleScope german(kGerman);
    EXPECT_EQ(numberText(1234567.6), "1.234.568");
}

TEST(UtilityTest, BlankAndDigits) {
    EXPECT_TRUE(isBlank(""));
    EXPECT_TRUE(isBlank(" \r\n \r"));
    EXPECT_TRUE(isBlank(QString(QChar(8))));
    EXPECT_FALSE(isBlank(" \t "));
    EXPECT_FALSE(isBlank(" x "));
    EXPECT_FALSE(isBlank(QString(QChar(0))));
    EXPECT_EQ(digitsOnly("1,234 bytes (56%)"), "123456");
    EXPECT_EQ(digitsOnly("none"), "");
    EXPECT_EQ(digitsOnly(QString::fromUtf8("\xd9\xa3"
                                           "7")),
              "7");  // ASCII digits only
}

TEST(UtilityTest, FieldOfLineTakesTabSeparatedFieldsTrimmed) {
    const struct {
        const char* line;
        int n;
        const char* expected;
    } cases[] = {
        {"a\tb\tc", 1, "a"},
        {"a\tb\tc", 2, "b"},
        {"a\tb\tc", 3, "c"},
        {"a\tb\tc", 4, ""},
        {"a\tb\tc", 0, ""},
        {"a\tb\tc", -1, ""},
        {" a \t b \t", 2, "b"},
        {" a \t b \t", 3, ""},
        {"a\t\tc", 2, ""},
        {"\x01x y\x02\r\n", 1, "x y"},
        {"", 1, ""},
        {"/path with blanks/f.txt\t1,024", 1, "/path with blanks/f.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(fieldOfLine(QString::fromUtf8(c.line), c.n), c.expected) << c.line << " #" << c.n;
}

TEST(UtilityTest, EntryKind) {
    DirEntry e;
    e.name = ".";
    e.attributes = faDirectory;
    EXPECT_EQ(entryKind(e), 1);
    e.name = "..";
    EXPECT_EQ(entryKind(e), 1);
    e.name = "...";
    EXPECT_EQ(entryKind(e), 0);
    e.name = ".hidden";
    e.attributes = faDirectory | faHidden;
    EXPECT_EQ(entryKind(e), 0);
    e.attributes = faHidden | faReadOnly;
    EXPECT_EQ(entryKind(e), 2);
}

TEST(UtilityTest, FileTypeText) {
    EXPECT_EQ(fileTypeText("*."), "No extension");
    EXPECT_EQ(fileTypeText(".qqq"), "QQQ File");
    EXPECT_EQ(fileTypeText(""), "");
    EXPECT_EQ(fileTypeText("*.qqq"), "");
    const QString text = fileTypeText(".txt");
    EXPECT_FALSE(text.isEmpty());
    EXPECT_NE(text, "TXT File");
}

TEST(UtilityTest, FillWildcardListReplacesTheContents) {
    const QStringList registered = registeredExtensionPatterns();
    QStringList list = {"stale", "*.*"};
    fillWildcardList(list, true);
    ASSERT_FALSE(list.isEmpty());
    EXPECT_EQ(list.first(), "*.*");
    EXPECT_EQ(list.mid(1), registered);
    fillWildcardList(list, false);
    EXPECT_EQ(list, registered);
}

}  // namespace
}  // namespace vastel
