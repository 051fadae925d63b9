#include "core/CountedList.h"
#include "core/DriveEntries.h"
#include "core/SettingsStore.h"
#include "platform/Wildcard.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <climits>

namespace vastel {
namespace {

TEST(Wildcard, DesktopRules) {
    struct Case {
        QByteArray pattern;
        QByteArray name;
        bool matches;
    };
    const Case cases[] = {
        {"*.*", "README", true},
        {"*.*", ".profile", true},
        {"*", "a.b.c", true},
        {"*.doc", "REPORT.DOC", true},
        {"*.doc", "report.docx", false},
        {"*.doc", "doc", false},
        {"re*.d?c", "Report.dOc", true},
        {"?", "\xc3\xa9", true},  // one character of two bytes
        {"?", "ab", false},
        {"a?c",
         "a\xff"
         "c",
         true},                    // a byte that is not UTF-8 is one character
        {"*.", "Makefile", true},  // no extension
        {"*.", "main.c", false},
        {"Drive*.ZIP", "drive-R-Duplicates10dec251200.zip", true},
        {"*.txt;*.doc", "a.doc", true},
        {"*.txt; *.doc", "a.doc", true},
        {"*.txt;*.doc", "a.xls", false},
        {"", "anything", false},
        {"*a*b*c", "xxaxxbxxbxc", true},
        {"*a*b*c", "xxaxxbxxbx", false},
        {"\xc3\x89T\xc3\x89", "\xc3\x89t\xc3\x89", true},  // ASCII folding only
    };
    for (const Case& c : cases)
        EXPECT_EQ(WildcardPattern(c.pattern).matches(c.name), c.matches)
            << c.pattern.constData() << " vs " << c.name.constData();
    EXPECT_TRUE(WildcardPattern("*.*").matchesAll());
    EXPECT_FALSE(WildcardPattern("*.txt").matchesAll());
}

Volume volume(const QByteArray& mountPoint, DriveType type, const QString& label = {},
              const QByteArray& source = {}) {
    Volume v;
    v.mountPoint = mountPoint;
    v.type = type;
    v.label = label;
    v.source = source;
    return v;
}

QByteArray currentFolder() {
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
}

class DriveEntriesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = currentFolder();
        writeExtraFolders({});
    }
    void TearDown() override { ASSERT_EQ(::chdir(saved_.constData()), 0); }

    // A machine whose drives are folders of a fixture, so the current folder can be put on any.
    DriveSource source(DriveSource base) {
        const QByteArray r = tree_.root();
        vols_ = {volume("/", DriveType::Fixed, "System"),
                 volume(tree_.createFolder("cd"), DriveType::CdRom, "Disc 1"),
                 volume(tree_.createFolder("data"), DriveType::Fixed),
                 volume(tree_.createFolder("nas"), DriveType::Network, {}, "//Server/Share"),
                 volume(tree_.createFolder("ram"), DriveType::RamDisk),
                 volume(tree_.createFolder("stick"), DriveType::Removable, "Stick")};
        base.volumes = [this] { return vols_; };
        return base;
    }
    static QStringList texts(const std::vector<DriveListEntry>& entries) {
        QStringList out;
        for (const DriveListEntry& e : entries) out << e.target.text;
        return out;
    }
    static QStringList checkedTexts(const std::vector<DriveListEntry>& entries) {
        QStringList out;
        for (const DriveListEntry& e : entries)
            if (e.checked) out << e.target.text;
        return out;
    }
    QString at(const char* name) const { return QString::fromUtf8(tree_.path(name)); }

    test::TempTree tree_;
    std::vector<Volume> vols_;
    QByteArray saved_;
};

TEST_F(DriveEntriesTest, EachWindowOffersItsDriveTypesAndCase) {
    ASSERT_EQ(::chdir("/"), 0);
    const QString cd = at("cd"), data = at("data"), nas = at("nas"), ram = at("ram"),
                  stick = at("stick");
    EXPECT_EQ(texts(driveListEntries(source(DriveSource::finders()), false)),
              (QStringList{"/ [SYSTEM]", cd + " [DISC 1]", data + " []", nas + " //SERVER/SHARE",
                           stick}));
    EXPECT_EQ(texts(driveListEntries(source(DriveSource::filesByDate()), false)),
              (QStringList{"/ [SYSTEM]", data + " []", nas + " //SERVER/SHARE", stick}));
    EXPECT_EQ(texts(driveListEntries(source(DriveSource::statistics()), false)),
              (QStringList{"/ [system]", cd + " [disc 1]", data + " []", nas + " //server/share",
                           ram + " []"}));
    for (const DriveListEntry& e : driveListEntries(source(DriveSource::finders()), false))
        EXPECT_TRUE(e.target.isDrive());
}

TEST_F(DriveEntriesTest, NetworkShareWithoutNameTakesTheBracketForm) {
    DriveSource s = DriveSource::finders();
    s.volumes = [] { return std::vector<Volume>{volume("/mnt/nas", DriveType::Network)}; };
    EXPECT_EQ(texts(driveListEntries(s, false)), QStringList{"/mnt/nas []"});
}

TEST_F(DriveEntriesTest, CurrentDriveIsCheckedElseTheRoot) {
    struct Case {
        const char* folder;  // the process's current folder, inside the fixture
        DriveSource base;
        const char* checked;  // empty: the "/" entry
    };
    const Case cases[] = {
        {"data", DriveSource::finders(), "data"}, {"cd", DriveSource::finders(), "cd"},
        {"cd", DriveSource::filesByDate(), ""},  // its CD-ROM is not offered there
        {"stick", DriveSource::statistics(), ""}, {"ram", DriveSource::statistics(), "ram"},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(::chdir(tree_.createFolder(c.folder).constData()), 0);
        const QStringList checked = checkedTexts(driveListEntries(source(c.base), false));
        ASSERT_EQ(checked.size(), 1) << c.folder;
        if (!*c.checked)
            EXPECT_TRUE(checked[0].startsWith(QLatin1String("/ ["))) << c.folder;
        else
            EXPECT_TRUE(checked[0].startsWith(at(c.checked))) << c.folder;
    }
}

TEST_F(DriveEntriesTest, NothingCheckedWithoutCurrentDriveOrRoot) {
    DriveSource s = DriveSource::finders();
    s.volumes = [] { return std::vector<Volume>{volume("/srv/data", DriveType::Fixed)}; };
    ASSERT_EQ(::chdir("/"), 0);
    EXPECT_TRUE(checkedTexts(driveListEntries(s, false)).isEmpty());
}

TEST_F(DriveEntriesTest, ExtraFoldersFollowTheDrivesInStoredOrder) {
    {
        SettingsStore store;
        store.writeString(QStringLiteral("NewFolders"), QStringLiteral("Number"),
                          QStringLiteral("4"));
        store.writeBytes(QStringLiteral("NewFolders"), QStringLiteral("File1"), "/home/zed");
        store.writeBytes(QStringLiteral("NewFolders"), QStringLiteral("File2"), "");
        store.writeBytes(QStringLiteral("NewFolders"), QStringLiteral("File3"), "/srv/a\xff");
        store.writeBytes(QStringLiteral("NewFolders"), QStringLiteral("File4"), "/home/Ann");
    }
    ASSERT_EQ(::chdir("/"), 0);
    const std::vector<DriveListEntry> entries =
        driveListEntries(source(DriveSource::finders()), true);
    ASSERT_EQ(entries.size(), 8u);
    const QByteArrayList roots = {entries[5].target.root, entries[6].target.root,
                                  entries[7].target.root};
    EXPECT_EQ(roots, (QByteArrayList{"/home/zed", "/srv/a\xff", "/home/Ann"}));
    for (size_t i = 5; i < 8; ++i) {
        EXPECT_FALSE(entries[i].target.isDrive());
        EXPECT_FALSE(entries[i].checked);
    }
    EXPECT_EQ(driveListEntries(source(DriveSource::finders()), false).size(), 5u);
}

}  // namespace
}  // namespace vastel
