#include "core/CountedList.h"

#include "platform/Paths.h"

#include "support/SettingsFixture.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>

namespace vastel {
namespace {

const QStringList kDefaults = {"*.doc", "*.exe", "*.dll"};

class CountedListTest : public test::SettingsFixture {
  protected:
    static QStringList read(const QString& section = QStringLiteral("Include")) {
        return readCountedList(SettingsStore(), section, kDefaults);
    }
};

TEST_F(CountedListTest, NumberDecidesBetweenDefaultsEmptyAndEntries) {
    writeRawFile(
        "[NoNumber]\nFile1=a\n"
        "[Zero]\nNumber=0\nFile1=a\n"
        "[Unreadable]\nNumber=three\nFile1=a\n"
        "[MinusOne]\nNumber=-1\nFile1=a\n"
        "[Negative]\nNumber=-4\nFile1=a\n"
        "[Five]\nNumber=5\nFile1=a\nFile2=b\nFile3=\nFile4=d\nFile5=e\nFile6=stale\n"
        "[Gaps]\nNumber=4\nfile4=d\nFILE1=a\nFile02=no leading zeros\nFileX=x\n");
    EXPECT_EQ(read("Missing"), kDefaults);
    EXPECT_EQ(read("NoNumber"), kDefaults);
    EXPECT_EQ(read("Unreadable"), kDefaults);
    EXPECT_EQ(read("MinusOne"), kDefaults);
    EXPECT_EQ(read("Zero"), QStringList());
    EXPECT_EQ(read("Negative"), QStringList());
    EXPECT_EQ(read("Five"), QStringList({"a", "b", "d", "e"}));
    EXPECT_EQ(read("Gaps"), QStringList({"a", "d"}));
}

TEST_F(CountedListTest, ShorterListLeavesStaleEntriesThatAreNeverRead) {
    {
        SettingsStore store;
        writeCountedList(store, "TempFiles", {"*.tmp", "*.bak", "*.old", "~*.*", "*.$$$"});
    }
    {
        SettingsStore store;
        writeCountedList(store, "TempFiles", {"*.chk", "*.gid"});
    }
    const SettingsStore store;
    EXPECT_EQ(store.readInteger("TempFiles", "Number", -1), 2);
    EXPECT_EQ(store.readString("TempFiles", "File3", ""), "*.old");
    EXPECT_EQ(store.readString("TempFiles", "File5", ""), "*.$$$");
    EXPECT_EQ(readCountedList(store, "TempFiles", kDefaults), QStringList({"*.chk", "*.gid"}));

    // "Number" comes first in the section, then the entries in order.
    const IniFile::Section* s = store.file().section("TempFiles");
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->entries[0].key, "Number");
    EXPECT_EQ(s->entries[1].key, "File1");
}

TEST_F(CountedListTest, HugeNumberReadsOnlyTheEntriesPresent) {
    writeRawFile(
        "[NewFolders]\nNumber=2147483647\nFile1=/a\nFile3=/c\nFile2147483647=/last\n"
        "File99999999999=/beyond\n"
        "[Hex]\nNumber=0x7FFFFFFF\nFile2=/b\n");
    QElapsedTimer timer;
    timer.start();
    EXPECT_EQ(read("NewFolders"), QStringList({"/a", "/c", "/last"}));
    EXPECT_EQ(read("Hex"), QStringList({"/b"}));
    EXPECT_LT(timer.elapsed(), 2000);
}

TEST_F(CountedListTest, PathsKeepTheirBytes) {
    const QByteArrayList paths = {"/home/ann/tab\there", "/data/\xff\xfe", "C:\\old;list=#"};
    {
        SettingsStore store;
        writeCountedBytes(store, "NewFolders", paths);
    }
    const SettingsStore store;
    EXPECT_EQ(readCountedBytes(store, "NewFolders", {}), paths);
    // As text, the entry that is not UTF-8 is unreadable and skipped.
    EXPECT_EQ(readCountedList(store, "NewFolders", {}),
              QStringList({"/home/ann/tab\there", "C:\\old;list=#"}));
    EXPECT_EQ(readCountedBytes(store, "Absent", {"/x"}), QByteArrayList({"/x"}));
}

TEST(CountedListDisplay, PatternIsTheTextBeforeTheFirstTab) {
    EXPECT_EQ(patternOfDisplayEntry("*.tmp\tTemporary file"), "*.tmp");
    EXPECT_EQ(patternOfDisplayEntry("*.tmp\ta\tb"), "*.tmp");
    EXPECT_EQ(patternOfDisplayEntry("*.tmp"), "*.tmp");
    EXPECT_EQ(patternOfDisplayEntry("\tonly description"), "");
}

}  // namespace
}  // namespace vastel
