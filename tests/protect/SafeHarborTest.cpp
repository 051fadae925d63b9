#include "protect/SafeHarbor.h"

#include "core/CountedList.h"
#include "core/SettingsStore.h"
#include "platform/SystemFolders.h"
#include "protect/FolderListFile.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

using namespace vastel;
using test::TempTree;

namespace {

// A Safe Harbor loaded from a folders.txt of the given entries and a fixed search path.
struct Harbor {
    TempTree tree;
    SafeHarbor harbor;
    explicit Harbor(const QByteArrayList& folders, const QByteArrayList& path = {"/opt/bin"},
                    const QByteArray& system = "/usr/lib/", const QByteArray& windows = "/etc/") {
        harbor.sources.folderListFile = QFile::decodeName(tree.path("folders.txt"));
        harbor.sources.searchPath = path;
        harbor.sources.systemFolder = system;
        harbor.sources.windowsFolder = windows;
        // These fixtures lie below /srv and /opt; the system trees have a test of their own.
        harbor.sources.systemTrees = QByteArrayList{};
        if (!folders.isEmpty()) saveFolderListFile(harbor.sources.folderListFile, folders);
        harbor.GetSearchPath();
    }
    int reason(const QByteArray& path, bool isFile) {
        int r = -1;
        const bool isProtected = harbor.isInSafeHarbor(path, isFile, &r);
        EXPECT_EQ(isProtected, r != 0) << path.constData();
        EXPECT_EQ(harbor.reasonOf(path, isFile), r) << path.constData();
        return r;
    }
};

void saveProtectedTypes(const QStringList& types) {
    SettingsStore store;
    writeCountedList(store, QStringLiteral("NoDelExt"), types);
}

}  // namespace

TEST(SafeHarbor, MembershipFollowsTheListsWhateverTheSpelling) {
    const QByteArray longFolder = "/srv/" + QByteArray(100, 'q') + "/keep/";
    Harbor h(
        {"/apps/*.*", "/Srv/Data/", "/plain/", longFolder, "/srv/both/", "/usr/lib/", "/opt/bin/"});
    struct Case {
        const char* path;
        bool isFile;
        int reason;
    } cases[] = {
        {"/apps/", false, 3},
        {"/apps", false, 3},
        {"/apps/x/y/", false, 3},
        {"/apps/x/y/file.txt", true, 3},
        {"/apps2/", false, 0},
        {"/plain/file", true, 3},
        {"/plain/x/file", true, 0},
        {"/plain", false, 3},
        // One protected folder, many spellings.
        {"/srv/data/f", true, 3},
        {"/SRV/DATA/f", true, 3},
        {"/srv/data", false, 3},
        {"/srv/data/", false, 3},
        {"/srv//data///f", true, 3},
        {"/srv/./data/./f", true, 3},
        {"/srv/x/../data/f", true, 3},
        {"//srv/data", false, 3},
        {"/srv/data2/f", true, 0},
        // Past 80 characters the whole path counts, both ways.
        {(longFolder + "f").constData(), true, 3},
        {(longFolder.toUpper() + "/").constData(), false, 3},
        {("/srv/" + QByteArray(100, 'q') + "/other/f").constData(), true, 0},
        // The system folders come first, then the search path, then the rest.
        {"/usr/lib/libc.so", true, 1},
        {"/etc/passwd", true, 1},
        {"/etc/x/passwd", true, 0},
        {"/opt/bin/tool", true, 2},
        {"/OPT/BIN", false, 2},
        {"/home/ann/x.sys", true, 0},
        {"relative", true, 0},
    };
    for (const Case& c : cases) {
        const QByteArray path(c.path);
        EXPECT_EQ(h.reason(path, c.isFile), c.reason) << c.path << (c.isFile ? " file" : "");
    }
    EXPECT_FALSE(h.harbor.safeHarborMissing);
}

TEST(SafeHarbor, ProtectedTypesMatchExtensionOrWholeName) {
    saveProtectedTypes({"*.SYS", "readme.txt", "*.d"});
    Harbor h({"/x/"});
    h.harbor.ReadSafeHarborExtensions();
    EXPECT_EQ(h.harbor.lbExt, (QStringList{"*.d", "*.sys", "readme.txt"}));
    EXPECT_EQ(h.reason("/data/x.Sys", true), 4);
    EXPECT_EQ(h.reason("/data/README.TXT", true), 4);
    EXPECT_EQ(h.reason("/data/a.b.d", true), 4);
    EXPECT_EQ(h.reason("/data/sys", true), 0);
    EXPECT_EQ(h.reason("/data/x.sys2", true), 0);
    EXPECT_EQ(h.reason("/data/x.sys/", false), 0);  // types never protect a folder
    EXPECT_EQ(h.reason("/x/x.sys", true), 3);       // the folder's reason comes first
    EXPECT_TRUE(h.harbor.hasProtectedType("/q/Readme.Txt"));
    EXPECT_FALSE(h.harbor.hasProtectedType("/q/readme.txt.bak"));

    // Never saved: no types at all, although the windows show two.
    SettingsStore store;
    store.writeString(QStringLiteral("NoDelExt"), QStringLiteral("Number"), QString());
    store.flush();
    h.harbor.ReadSafeHarborExtensions();
    EXPECT_TRUE(h.harbor.lbExt.isEmpty());
    saveProtectedTypes({});
}

TEST(SafeHarbor, LoadingBuildsTheListsAndFlagsAMissingFile) {
    Harbor h({}, {"/usr/bin", "/usr/bin/sub", "", "/USR/BIN/", "/opt/apps/x"});
    EXPECT_TRUE(h.harbor.safeHarborMissing);
    EXPECT_EQ(h.harbor.lbSearchPath.entries(),
              (QByteArrayList{"/OPT/APPS/X/", "/USR/BIN/", "/USR/BIN/SUB/"}));
    EXPECT_EQ(h.harbor.lbWindows.entries(), (QByteArrayList{"/ETC/", "/USR/LIB/"}));
    EXPECT_EQ(h.harbor.lb1.entries(),
              (QByteArrayList{"/ETC/", "/OPT/APPS/X/", "/USR/BIN/", "/USR/BIN/SUB/", "/USR/LIB/"}));
    EXPECT_EQ(h.harbor.lb2, h.harbor.lb1.entries());

    // Entries are normalised and merged below tree entries.
    saveFolderListFile(h.harbor.sources.folderListFile,
                       {"/data//x", "/data/*.*", "/keep/a/", "/Keep/A/", "/opt/apps/*.*"});
    h.harbor.GetSearchPath();
    EXPECT_FALSE(h.harbor.safeHarborMissing);
    EXPECT_EQ(h.harbor.lb1.entries(),
              (QByteArrayList{"/DATA/*.*", "/ETC/", "/KEEP/A/", "/OPT/APPS/*.*", "/USR/BIN/",
                              "/USR/BIN/SUB/", "/USR/LIB/"}));
    // The search path keeps its own entry, which the tree entry merged away from lb1.
    EXPECT_EQ(h.reason("/opt/apps/x/f", true), 2);
}

TEST(SafeHarbor, ReloadedListsAreNotHiddenByTheMemoryOfTheLastFolder) {
    Harbor h({"/a/"});
    EXPECT_EQ(h.reason("/b/f1", true), 0);
    EXPECT_EQ(h.harbor.lastTestedFolder, QByteArray("/B/"));
    saveFolderListFile(h.harbor.sources.folderListFile, {"/a/", "/b/"});
    h.harbor.GetSearchPath();
    EXPECT_EQ(h.harbor.lastTestedFolder, QByteArray("/B/"));  // a reload keeps it
    EXPECT_EQ(h.reason("/b/f2", true), 3);
    EXPECT_EQ(h.harbor.lastReason, 3);
    // Consecutive tests in one folder give the remembered reason.
    EXPECT_EQ(h.reason("/b/f3", true), 3);
}

TEST(SafeHarbor, AFolderReachedThroughALinkIsProtectedUnderBothPaths) {
    TempTree t;
    t.createFolder("real/sub");
    t.createFolder("real/other");
    t.createFolder("real/deep/down");
    t.createSymlink("link", "real");
    Harbor h({t.path("link/sub/"), t.path("real/other/"), t.path("link/deep/*.*")});
    EXPECT_EQ(h.reason(t.path("real/sub/f"), true), 3);    // the entry's real path
    EXPECT_EQ(h.reason(t.path("link/other/f"), true), 3);  // the tested folder's real path
    EXPECT_EQ(h.reason(t.path("real/deep/down/f"), true), 3);
    EXPECT_EQ(h.reason(t.path("link/real/f"), true), 0);
    // A link followed by ".." leads where the link leads, not where the letters say.
    t.createFolder("elsewhere/x");
    t.createSymlink("elsewhere/up", "../real/sub");
    EXPECT_EQ(h.reason(t.path("elsewhere/up/../other/f"), true), 3);
}

TEST(SafeHarbor, ReasonTexts) {
    const char* texts[] = {"",
                           "in the Windows/System folder",
                           "in the search path",
                           "referenced in the registry",
                           "included in the protected file extensions",
                           "owned by another user",
                           ""};
    for (int r = 0; r <= 6; ++r)
        EXPECT_EQ(SafeHarbor::safeHarborReason(r), QString::fromLatin1(texts[r]));
    EXPECT_EQ(SafeHarbor::safeHarborReason(-1), QString());
}

// Another user's file is protected where nothing else protects it; the system folders come
// first.
TEST(SafeHarbor, AFileOfAnotherUserIsProtectedWhereNothingElseIs) {
    TempTree t;
    const QByteArray mine = t.createFile("own/f", 1);
    const QByteArray folder = t.createFolder("own/sub");
    Harbor h({t.path("kept/")});
    h.harbor.sources.userId = effectiveUserId() + 1;  // every file here is "another user's"
    h.harbor.GetSearchPath();
    EXPECT_EQ(h.reason(mine, true), 5);
    EXPECT_EQ(h.reason(folder, false), 5);
    EXPECT_EQ(h.reason(t.createFile("kept/f", 1), true), 3);
    EXPECT_EQ(h.reason(t.path("own/gone"), true), 0);  // no owner to tell
    // Consecutive files of one folder are still told apart by their owners.
    h.harbor.sources.userId = effectiveUserId();
    h.harbor.GetSearchPath();
    EXPECT_EQ(h.reason(mine, true), 0);
    EXPECT_EQ(h.harbor.isInSafeHarbor(mine, true, nullptr, effectiveUserId() + 1), true);
    EXPECT_EQ(h.harbor.reasonOf(mine, true, effectiveUserId() + 1), 5);
    EXPECT_EQ(h.reason(mine, true), 0);
}

// As root, with the platform's folders: what the operating system, its services and other
// users own is protected; the home and temporary folders are not.
TEST(SafeHarbor, SystemTreesAndOtherUsersFilesAsRoot) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to write below /var/lib and to chown";
    TempTree varLib("/var/lib"), usrLocal("/usr/local"), rootHome("/root"), tmp("/tmp");
    TempTree sandbox;  // below TMPDIR
    const QByteArray home = QFile::encodeName(QDir::homePath()) + "/vastel-harbor-test";
    struct Tree {
        QByteArray root;
        ~Tree() { TempTree::removeTree(root); }
    } homeTree{home};
    QDir().mkpath(QFile::decodeName(home));
    auto file = [](const QByteArray& path, bool otherUser) {
        QDir().mkpath(QFile::decodeName(path.left(path.lastIndexOf('/'))));
        QFile f(QFile::decodeName(path));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly)) << path.constData();
        f.close();
        if (otherUser) {
            EXPECT_EQ(::chown(path.constData(), 65534, 65534), 0);
        }
        return path;
    };

    SafeHarbor harbor;
    harbor.sources.folderListFile = QFile::decodeName(sandbox.path("folders.txt"));
    harbor.sources.searchPath = QByteArrayList{};
    harbor.GetSearchPath();
    struct Case {
        QByteArray path;
        int reason;
    } cases[] = {
        {file(varLib.path("base/16384/2619"), false), 1},
        {file(varLib.path("base/other"), true), 1},  // the system folder comes first
        {file(usrLocal.path("share/f"), false), 1},
        {file(rootHome.path("f"), false), 1},  // /root is not the (sandbox) home here
        {file(home + "/mine", false), 0},
        {file(home + "/theirs", true), 5},
        {file(tmp.path("mine"), false), 0},
        {file(tmp.path("theirs"), true), 5},
        {file(sandbox.path("mine"), false), 0},
        {"/lib/x86_64-linux-gnu/none.so", 1},  // /lib leads to /usr/lib on Debian
        {"/srv/data/none", 1},
        {"/mnt/disk/none", 0},
    };
    for (const Case& c : cases) {
        int r = -1;
        harbor.isInSafeHarbor(c.path, true, &r);
        EXPECT_EQ(r, c.reason) << c.path.constData();
        EXPECT_EQ(harbor.reasonOf(c.path, true), c.reason) << c.path.constData();
    }
    // The home, folder and file, is checked for the owner, not the system tree.
    EXPECT_EQ(harbor.reasonOf(home, false), 0);

    // When the home is /root (root's own), what lies below it is open to the other rules only.
    harbor.sources.ownFolders = QByteArrayList{"/root"};
    saveFolderListFile(harbor.sources.folderListFile, {rootHome.path("kept/")});
    harbor.GetSearchPath();
    EXPECT_EQ(harbor.reasonOf(rootHome.path("f"), true), 0);
    EXPECT_EQ(harbor.reasonOf(file(rootHome.path("theirs"), true), true), 5);
    EXPECT_EQ(harbor.reasonOf(file(rootHome.path("kept/f"), false), true), 3);
    EXPECT_EQ(harbor.reasonOf(varLib.path("base/16384/2619"), true), 1);
    // ... also when the home is named through a link.
    const QByteArray link = sandbox.createSymlink("root-link", "/root");
    harbor.sources.ownFolders = QByteArrayList{link};
    harbor.GetSearchPath();
    EXPECT_EQ(harbor.reasonOf(rootHome.path("f"), true), 0);
    // A home of "/" would open every tree: it opens none.
    harbor.sources.ownFolders = QByteArrayList{"/"};
    harbor.GetSearchPath();
    EXPECT_EQ(harbor.reasonOf(varLib.path("base/16384/2619"), true), 1);
}
