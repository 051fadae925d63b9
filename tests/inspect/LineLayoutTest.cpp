#include "inspect/LineLayout.h"

#include <gtest/gtest.h>

using namespace vastel;

namespace {

struct TextCase {
    const char* name;
    QByteArray bytes;
    bool expand;
    int tabSize;
    QString shown;
};

class TextLayouts : public testing::TestWithParam<TextCase> {};

TEST_P(TextLayouts, showTheLine) {
    const TextCase& c = GetParam();
    EXPECT_EQ(layoutTextLine(c.bytes, c.expand, c.tabSize, 8192).text, c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Text, TextLayouts,
    testing::Values(TextCase{"tabToTheNextStop", "a\tb", true, 8, "a       b"},
                    TextCase{"tabSizeFour", "abcd\tb\tc", true, 4, "abcd    b   c"},
                    TextCase{"tabSizeZeroDropsTabs", "a\tb", true, 0, "ab"},
                    TextCase{"tabWithoutExpansion", "a\tb", false, 8, QString::fromUtf8("a»b")},
                    TextCase{"utf8Characters", "caf\xc3\xa9 \xe2\x82\xac", true, 8,
                             QString::fromUtf8("café €")},
                    TextCase{"otherBytesAsLatin1", "caf\xe9", true, 8, QString::fromUtf8("café")},
                    TextCase{"controlsAsDots", QByteArray("a\x01\x7f\x85z", 5), true, 8,
                             QString::fromUtf8("a···z")},
                    TextCase{"overlongFormIsNotUtf8", "\xc0\xaf", true, 8,
                             QString::fromUtf8("À¯")}),
    [](const testing::TestParamInfo<TextCase>& info) { return std::string(info.param.name); });

TEST(LineLayout, cellsMapBackToTheirBytes) {
    const LineLayout l = layoutTextLine("a\tb\xc3\xa9z", true, 4, 8192);
    EXPECT_EQ(l.text, QString::fromUtf8("a   béz"));
    EXPECT_EQ(l.cellByte, (std::vector<int>{0, 1, 1, 1, 2, 3, 5}));
    EXPECT_EQ(l.columnOfByte(2), 4);
    EXPECT_EQ(l.columnOfByte(5), 6);
    EXPECT_EQ(l.columnOfByte(6), 7);
    EXPECT_EQ(l.byteOfColumn(2), 1);
    EXPECT_EQ(l.byteOfColumn(7), 6);
}

TEST(LineLayout, longLinesAreCut) {
    EXPECT_EQ(layoutTextLine(QByteArray(3000, 'x'), true, 8, 1024).cells(), 1024);
    EXPECT_EQ(layoutTextLine("\t\t", true, 255, 300).cells(), 300);
}

TEST(LineLayout, hexLines) {
    const LineLayout full = layoutHexLine(QByteArray("Hello world!\0\x01\x7f\xff", 16), 0x10, 8);
    EXPECT_EQ(full.text,
              "00000010  48 65 6C 6C 6F 20 77 6F  72 6C 64 21 00 01 7F FF  Hello world!....");
    const LineLayout part = layoutHexLine("AB", 0x123456780, 9);
    EXPECT_EQ(part.text, "123456780  41 42" + QString(45, ' ') + "AB");
    EXPECT_EQ(hexTextColumn(8, 0), 60);
    EXPECT_EQ(full.text.mid(hexTextColumn(8, 4), 1), "o");
    EXPECT_EQ(hexOffsetDigits(qint64(4) << 30), 8);
    EXPECT_EQ(hexOffsetDigits((qint64(4) << 30) + 1), 9);
}

}  // namespace
