#include "core/SettingsStore.h"

#include "platform/Paths.h"

#include "support/SettingsFixture.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <climits>

namespace vastel {
namespace {

class SettingsStoreTest : public test::SettingsFixture {
  protected:
    static ino_t inodeOfMainFile() {
        struct stat st {};
        return ::stat(QFile::encodeName(mainSettingsFile()).constData(), &st) == 0 ? st.st_ino : 0;
    }
};

TEST_F(SettingsStoreTest, KeyAndFileLocation) {
    EXPECT_EQ(settingsKey(), QStringLiteral("Software\\Tessivo Corporation\\Vastel\\3.0"));
    EXPECT_EQ(SettingsStore().path(), mainSettingsFile());
    EXPECT_TRUE(mainSettingsFile().endsWith(QStringLiteral("/Tessivo Corporation/Vastel/3.0.ini")));
    EXPECT_EQ(SettingsStore::forKey(QStringLiteral("vastl98")).path(),
              secondaryKeyFile(QStringLiteral("vastl98")));
}

TEST_F(SettingsStoreTest, MissingFileSectionOrKeyGivesTheDefaults) {
    {
        const SettingsStore store;
        EXPECT_EQ(store.readString("ZipFile", "Path", "/home/ann"), "/home/ann");
        EXPECT_EQ(store.readInteger("Vastel", "Ndelete", -1), -1);
        EXPECT_EQ(store.readInt64("Vastel", "SizeDelete", -1), -1);
        EXPECT_EQ(store.readBytes("ZipFile", "Path", "x"), "x");
        EXPECT_FALSE(store.hasValue("ZipFile", "Path"));
    }
    // A store that only read does not create the file.
    EXPECT_FALSE(QFileInfo::exists(mainSettingsFile()));

    writeRawFile("[ZipFile]\nComment=hi\n");
    const SettingsStore store;
    EXPECT_EQ(store.readString("ZipFile", "Path", "dflt"), "dflt");
    EXPECT_EQ(store.readString("Folders", "When", "Not recorded"), "Not recorded");
    EXPECT_EQ(store.readString("zipfile", "COMMENT", ""), "hi");  // names ignore case
}

struct IntegerCase {
    const char* stored;
    int expected;  // with default 99
};

class StoredIntegerTest : public SettingsStoreTest,
                          public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(StoredIntegerTest, ReadsAsNumberOrDefault) {
    writeRawFile(QByteArray("[N]\nv=") + GetParam().stored + "\n");
    EXPECT_EQ(SettingsStore().readInteger("N", "v", 99), GetParam().expected)
        << "stored: " << GetParam().stored;
}

INSTANTIATE_TEST_SUITE_P(
    Table, StoredIntegerTest,
    ::testing::Values(IntegerCase{"31", 31}, IntegerCase{"-5", -5}, IntegerCase{"+7", 7},
                      IntegerCase{"0", 0}, IntegerCase{"  12  ", 12}, IntegerCase{"0x1F", 31},
                      IntegerCase{"0X1f", 31}, IntegerCase{"0x00000001F", 31},
                      IntegerCase{"0xFFFFFFFF", -1}, IntegerCase{"0x80000000", INT_MIN},
                      IntegerCase{"2147483647", INT_MAX}, IntegerCase{"-2147483648", INT_MIN},
                      // not numbers, or out of range: the default
                      IntegerCase{"", 99}, IntegerCase{"0x", 99}, IntegerCase{"x1F", 99},
                      IntegerCase{"0x1G", 99}, IntegerCase{"-0x1", 99}, IntegerCase{"12abc", 99},
                      IntegerCase{"abc", 99}, IntegerCase{"1.5", 99}, IntegerCase{"1 2", 99},
                      IntegerCase{"-", 99}, IntegerCase{"2147483648", 99},
                      IntegerCase{"-2147483649", 99}, IntegerCase{"0x100000000", 99},
                      IntegerCase{"99999999999999999999999999", 99},
                      IntegerCase{"\xff\xfe"
                                  "12",
                                  99},
                      IntegerCase{"\xd9\xa3", 99}));

TEST_F(SettingsStoreTest, SixtyFourBitIntegers) {
    writeRawFile(
        "[Vastel]\n"
        "SizeDelete=5000000000\n"
        "Max=9223372036854775807\n"
        "Min=-9223372036854775808\n"
        "Over=9223372036854775808\n"
        "Hex=0x7FFFFFFFFFFFFFFF\n"
        "HexWrap=0xFFFFFFFFFFFFFFFF\n"
        "HexOver=0x10000000000000000\n");
    SettingsStore store;
    EXPECT_EQ(store.readInt64("Vastel", "SizeDelete", -1), 5000000000LL);
    EXPECT_EQ(store.readInteger("Vastel", "SizeDelete", -1), -1);  // beyond 32 bits
    EXPECT_EQ(store.readInt64("Vastel", "Max", -1), LLONG_MAX);
    EXPECT_EQ(store.readInt64("Vastel", "Min", -1), LLONG_MIN);
    EXPECT_EQ(store.readInt64("Vastel", "Over", -1), -1);
    EXPECT_EQ(store.readInt64("Vastel", "Hex", -1), LLONG_MAX);
    EXPECT_EQ(store.readInt64("Vastel", "HexWrap", 7), -1);
    EXPECT_EQ(store.readInt64("Vastel", "HexOver", 7), 7);

    store.writeInt64("Vastel", "SizeZip", 6000000000LL);
    store.writeInteger("Vastel", "Ndelete", -1);
    ASSERT_TRUE(store.flush());
    // Numbers are stored as plain decimal text.
    EXPECT_TRUE(rawFile().contains("\nSizeZip=6000000000\n"));
    EXPECT_TRUE(rawFile().contains("\nNdelete=-1\n"));
}

TEST_F(SettingsStoreTest, DamagedFileReadsDefaultsOnlyWhereUnreadable) {
    QByteArray text =
        "[Vastel]\n"
        "Ndelete=12\n"
        "garbage line without equals\n"
        "SizeDelete=lots\n"
        "\x01\x02\xff\xfe\n"
        "NWaste=99999999999999999999\n"
        "SizeWaste=0x10\n"
        "DelDate=4.5e3\n"
        "[ZipFile\n"
        "Path=/home/ann/archives\n"
        "Comment=bad \xff\xfe bytes\n"
        "[Folders]\n"
        "When=Monday\n";
    text += QByteArray(200000, '#') + "\n" + QByteArray(200000, '=') + "\n";
    text += "[Vastel]\nNZip=3\n";
    writeRawFile(text);

    const SettingsStore store;
    EXPECT_EQ(store.readInteger("Vastel", "Ndelete", -1), 12);
    EXPECT_EQ(store.readInteger("Vastel", "SizeDelete", -1), -1);
    EXPECT_EQ(store.readInteger("Vastel", "NWaste", -1), -1);
    EXPECT_EQ(store.readInteger("Vastel", "SizeWaste", -1), 16);
    EXPECT_EQ(store.readInteger("Vastel", "DelDate", -1), -1);
    EXPECT_EQ(store.readInteger("Vastel", "NZip", -1), 3);
    EXPECT_EQ(store.readString("ZipFile", "Path", "C"), "/home/ann/archives");
    // Text that is not UTF-8 reads as the default; its exact bytes stay available.
    EXPECT_EQ(store.readString("ZipFile", "Comment", "none"), "none");
    EXPECT_EQ(store.readBytes("ZipFile", "Comment", ""), "bad \xff\xfe bytes");
    EXPECT_EQ(store.readString("Folders", "When", "Not recorded"), "Monday");
}

TEST_F(SettingsStoreTest, AwkwardValuesRoundTripThroughAFreshStore) {
    const QStringList values = {"C:\\",
                                "\\\\server\\share\\",
                                "a;b;c",
                                "key=value",
                                "#hash first",
                                "  two leading blanks",
                                "trailing blank ",
                                "tab\there",
                                "two\nlines\r\n",
                                QString(),
                                "caf\u00e9 \u20ac"};
    const QByteArray path = "/data/\xff\xfe/na\tme\n";  // a Linux path that is not UTF-8
    {
        SettingsStore store;
        for (int i = 0; i < values.size(); ++i)
            store.writeString("Odd Section; =#", QStringLiteral("V%1").arg(i), values[i]);
        store.writeBytes("ZipFile", "Path", path);
    }  // written when the store goes
    const SettingsStore store;
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(store.readString("Odd Section; =#", QStringLiteral("V%1").arg(i), "dflt"),
                  values[i])
            << i;
    EXPECT_EQ(store.readBytes("ZipFile", "Path", ""), path);
    EXPECT_EQ(store.readString("ZipFile", "Path", "not text"), "not text");
}

TEST_F(SettingsStoreTest, FileIsRewrittenOnlyWhenSomethingChanged) {
    {
        SettingsStore store;
        store.writeString("ZipFile", "Path", "/a");
        store.writeInteger("Vastel", "Ndelete", 5);
    }
    // Saving is atomic (a new file is renamed over the old one), so the inode tells a rewrite.
    const ino_t first = inodeOfMainFile();
    ASSERT_NE(first, ino_t(0));
    {
        SettingsStore store;
        store.writeString("zipfile", "PATH", "/a");
        store.writeString("Vastel", "Ndelete", "5");
        store.writeInteger("Vastel", "Ndelete", 6);
        store.writeInteger("Vastel", "Ndelete", 5);  // set and set back
    }
    EXPECT_EQ(inodeOfMainFile(), first);
    {
        SettingsStore store;
        store.writeInteger("Vastel", "Ndelete", 7);
        EXPECT_EQ(inodeOfMainFile(), first);  // nothing is written before the store goes
    }
    EXPECT_NE(inodeOfMainFile(), first);
    EXPECT_EQ(SettingsStore().readInteger("Vastel", "Ndelete", -1), 7);
}

TEST_F(SettingsStoreTest, TwoStoresOpenAtOnceKeepBothChanges) {
    {
        SettingsStore outer;
        outer.writeString("ZipFile", "Path", "/outer");
        {
            SettingsStore inner;
            inner.writeString("ZipFile", "Comment", "inner");
            inner.writeString("ZipFile", "Path", "/inner");
        }
    }
    const SettingsStore store;
    EXPECT_EQ(store.readString("ZipFile", "Comment", ""), "inner");
    EXPECT_EQ(store.readString("ZipFile", "Path", ""), "/outer");  // the later flush wins
}

TEST_F(SettingsStoreTest, UnwritableFolderFailsQuietly) {
    QDir().mkpath(configHome());
    QFile blocker(configHome() + QStringLiteral("/blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore store(blocker.fileName() + QStringLiteral("/3.0.ini"));
    store.writeString("A", "b", "c");
    EXPECT_FALSE(store.flush());
    EXPECT_EQ(store.readString("A", "b", ""), "c");  // the value is still there for this use
}  // the destructor tries again and stays quiet

}  // namespace
}  // namespace vastel
