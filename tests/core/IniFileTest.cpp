#include "platform/IniFile.h"
#include "platform/NativePath.h"

#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <QFile>

namespace vastel {
namespace {

QByteArray bytes(const char* data, qsizetype size) { return QByteArray(data, size); }

// Values that an INI line would otherwise lose or misread.
const QByteArray kAwkwardValues[] = {
    "C:\\",
    "a;b ; c",
    "x=y==z",
    "#not a comment",
    ";not a comment",
    "   three leading blanks",
    "trailing blanks  ",
    " ",
    "\ttab\tinside\t",
    "line\nbreak\r\nand CR\r",
    bytes("nul\0byte", 8),
    "\x01\x1f\x7f controls",
    "\xff\xfe invalid \xc3 UTF-8 \xed\xa0\x80 surrogate \xc0\xaf overlong",
    "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80 valid UTF-8",
    "[looks like a section]",
    "\\x41 and \\n and \\t as text",
    "ends with a backslash\\",
    "\\\\server\\share",
    "",
};

TEST(IniFileTest, AwkwardValuesRoundTripThroughTextAndFile) {
    test::TempTree tree;
    const QString path = QString::fromUtf8(tree.path("sub/folder/values.ini"));
    IniFile ini;
    int n = 0;
    for (const QByteArray& value : kAwkwardValues)
        ini.setValue("Values", "Key" + QByteArray::number(++n), value);
    // Awkward names too: "=" or "]" in a key must not split the line or end a section.
    ini.setValue("odd [section] = ;name", "key = with ; all [the] # signs", "v");
    ASSERT_TRUE(ini.save(path));  // creates the missing folders

    // Every value sits on a line of its own: nothing raw breaks a line.
    const QByteArray text = ini.serialize();
    EXPECT_EQ(text.count('\n'), n + 4);

    IniFile reread;
    reread.load(path);
    n = 0;
    for (const QByteArray& value : kAwkwardValues) {
        const QByteArray* got = reread.value("Values", "Key" + QByteArray::number(++n));
        ASSERT_NE(got, nullptr) << n;
        EXPECT_EQ(*got, value) << "value " << n << " stored as " << text.toStdString();
    }
    const QByteArray* odd = reread.value("odd [section] = ;name", "key = with ; all [the] # signs");
    ASSERT_NE(odd, nullptr);
    EXPECT_EQ(*odd, "v");
}

TEST(IniFileTest, EscapesKeepTheFileReadable) {
    EXPECT_EQ(IniFile::escapeValue("/home/ann/My Files"), "/home/ann/My Files");
    EXPECT_EQ(IniFile::escapeValue("caf\xc3\xa9"), "caf\xc3\xa9");
    EXPECT_EQ(IniFile::escapeValue(" a\\b;c "), "\\x20a\\\\b\\;c\\x20");
    EXPECT_EQ(IniFile::escapeValue("\xff"), "\\xFF");
}

TEST(IniFileTest, Utf8CheckIsStrict) {
    for (const char* good :
         {"", "plain", "caf\xc3\xa9", "\xe2\x82\xac", "\xf0\x9f\x98\x80", "\xf4\x8f\xbf\xbf"})
        EXPECT_TRUE(isValidUtf8(good)) << good;
    for (const char* bad : {"\xff", "a\xc3", "\xc3\x28", "\xc0\xaf", "\xe0\x80\xaf", "\xed\xa0\x80",
                            "\xf4\x90\x80\x80", "\xf8\x88\x80\x80\x80"})
        EXPECT_FALSE(isValidUtf8(bad)) << bad;
}

TEST(IniFileTest, DamagedFileKeepsTheReadableValuesAroundBadLines) {
    QByteArray text =
        "\xEF\xBB\xBF"
        "; comment\r\n"
        "# another = comment\n"
        "first=1\n"
        "[Vastel]\r\n"
        "Ndelete=5\r\n"
        "this line has no equals sign\n";
    text += bytes("\x00\x01\x02\xff\xfe binary junk \x80\x81\n", 21);
    text +=
        "=value without a key\n"
        "  SizeDelete  =  1234  \n"
        "\xc3\x28\xa0\xa1=invalid UTF-8 key\n"
        "Path=C:\\data\\old\n"  // unknown escapes keep their backslashes
        "Half=\\x4\n"           // a cut escape stays as written
        "Dup=first\n"
        "DUP=second\n"       // the last of duplicate keys wins
        "[Broken section\n"  // missing "]": still a section of its own
        "Stray=1\n"
        "[vastel]\n"           // the same section again, in another case
        "NZip=7\rSizeZip=8\r"  // old Mac line ends
        "[Long]\n";
    text += "Big=" + QByteArray(4 * 1024 * 1024, 'x') + "\n";
    text += QByteArray(1024 * 1024, '\xff') + "\n";  // a long line of junk
    text += "After=ok";                              // no final line feed

    IniFile ini;
    ini.parse(text);
    auto valueOf = [&](const char* section, const char* key) -> QByteArray {
        const QByteArray* v = ini.value(section, key);
        return v ? *v : QByteArray("<missing>");
    };
    EXPECT_EQ(valueOf("", "first"), "1");
    EXPECT_EQ(valueOf("Vastel", "Ndelete"), "5");
    EXPECT_EQ(valueOf("VASTEL", "sizedelete"), "1234");
    EXPECT_EQ(valueOf("Vastel", "Path"), "C:\\data\\old");
    EXPECT_EQ(valueOf("Vastel", "Half"), "\\x4");
    EXPECT_EQ(valueOf("Vastel", "dup"), "second");
    EXPECT_EQ(valueOf("Vastel", "NZip"), "7");
    EXPECT_EQ(valueOf("Vastel", "SizeZip"), "8");
    EXPECT_EQ(valueOf("Vastel", "Stray"), "<missing>");
    EXPECT_EQ(valueOf("Broken section", "Stray"), "1");
    EXPECT_EQ(valueOf("Long", "Big").size(), 4 * 1024 * 1024);
    EXPECT_EQ(valueOf("Long", "After"), "ok");
    EXPECT_EQ(valueOf("Vastel", "this line has no equals sign"), "<missing>");
    EXPECT_EQ(valueOf("Vastel", ""), "<missing>");

    // The merged section is written once, with the survivors in first-seen order.
    IniFile again;
    again.parse(ini.serialize());
    EXPECT_EQ(again.sections().size(), ini.sections().size());
    const IniFile::Section* vastel = again.section("vastel");
    ASSERT_NE(vastel, nullptr);
    EXPECT_EQ(vastel->entries.front().key, "Ndelete");
    EXPECT_EQ(*again.value("vastel", "nzip"), "7");
}

TEST(IniFileTest, SetValueReportsChangesAndKeepsTheFirstSpelling) {
    IniFile ini;
    EXPECT_TRUE(ini.setValue("ZipFile", "Path", "/a"));
    EXPECT_FALSE(ini.setValue("zipfile", "PATH", "/a"));
    EXPECT_TRUE(ini.setValue("ZIPFILE", "path", "/b"));
    ASSERT_EQ(ini.sections().size(), 1u);
    EXPECT_EQ(ini.sections()[0].name, "ZipFile");
    EXPECT_EQ(ini.sections()[0].entries[0].key, "Path");
    EXPECT_EQ(*ini.value("ZipFile", "Path"), "/b");
    EXPECT_FALSE(ini.hasSection("Other"));
}

TEST(IniFileTest, MissingFileIsEmptyAndUnwritablePlaceFails) {
    test::TempTree tree;
    IniFile ini;
    ini.setValue("A", "b", "c");
    ini.load(QString::fromUtf8(tree.path("absent.ini")));
    EXPECT_TRUE(ini.sections().empty());

    // A regular file where the folder should be.
    tree.createFileWith("blocker", "x");
    ini.setValue("A", "b", "c");
    EXPECT_FALSE(ini.save(QString::fromUtf8(tree.path("blocker/settings.ini"))));
}

}  // namespace
}  // namespace vastel
