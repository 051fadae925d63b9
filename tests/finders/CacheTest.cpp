// The cache sources of the browsers, the in-use test of their profiles, the clearing scan and
// vastel-scan caches, over fake homes.
#include "core/JobSink.h"
#include "core/StopToken.h"
#include "finders/CacheClearing.h"
#include "finders/CacheSources.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>

namespace vastel {
namespace {

using test::TempTree;

constexpr time_t kOld = 1'600'000'000;  // September 2020

CacheHomes homesIn(const TempTree& tree) {
    return {tree.path("home"), tree.path("home/.cache"), tree.path("home/.config")};
}

// A cache folder with one file in it, below the fake home.
QByteArray cacheAt(TempTree& tree, const QByteArray& folder) {
    tree.createFile("home/" + folder + "/f", 1);
    return tree.path("home/" + folder);
}

// Every kind of installation and profile, made in an order unlike the listing's.
struct FakeHome {
    TempTree tree;
    QByteArrayList expected;
    FakeHome() {
        // Made first, listed last.
        const QByteArray operaDefault = cacheAt(tree, ".cache/opera/Default/Cache/Cache_Data");
        const QByteArray snapFox =
            cacheAt(tree, "snap/firefox/common/.cache/mozilla/firefox/s1.default/cache2/entries");
        const QByteArray flatFox = cacheAt(
            tree, ".var/app/org.mozilla.firefox/cache/mozilla/firefox/p.default/cache2/entries");
        const QByteArray foxB = cacheAt(tree, ".cache/mozilla/firefox/b.default/cache2/entries");
        const QByteArray foxA =
            cacheAt(tree, ".cache/mozilla/firefox/a.default-release/cache2/entries");
        // A profile without a cache yet.
        tree.createFolder("home/.cache/mozilla/firefox/c.empty");
        const QByteArray p10 = cacheAt(tree, ".cache/chromium/Profile 10/Cache/Cache_Data");
        const QByteArray p3 = cacheAt(tree, ".cache/chromium/Profile 3/Cache/Cache_Data");
        const QByteArray def = cacheAt(tree, ".cache/chromium/Default/Cache/Cache_Data");
        // Not profiles of their own, or linked in from elsewhere.
        cacheAt(tree, ".cache/chromium/Guest Profile/Cache/Cache_Data");
        cacheAt(tree, ".cache/chromium/Profile x/Cache/Cache_Data");
        cacheAt(tree, "elsewhere/Cache/Cache_Data");
        tree.createSymlink("home/.cache/chromium/Profile 2", tree.path("home/elsewhere"));
        cacheAt(tree, "other-cache");
        tree.createFolder("home/.cache/chromium/Profile 4/Cache");
        tree.createSymlink("home/.cache/chromium/Profile 4/Cache/Cache_Data",
                           tree.path("home/other-cache"));
        const QByteArray chromeFlat = cacheAt(
            tree, ".var/app/com.google.Chrome/cache/google-chrome/Default/Cache/Cache_Data");
        const QByteArray braveSnap = cacheAt(
            tree,
            "snap/brave/common/.cache/BraveSoftware/Brave-Browser/Profile 1/Cache/Cache_Data");
        const QByteArray vivaldi = cacheAt(tree, ".cache/vivaldi/Default/Cache/Cache_Data");
        const QByteArray edge = cacheAt(tree, ".cache/microsoft-edge/Profile 3/Cache/Cache_Data");
        expected = {foxA, foxB,       flatFox,   snapFox, def,  p3,
                    p10,  chromeFlat, braveSnap, vivaldi, edge, operaDefault};
    }
};

TEST(CacheSources, EveryProfileOfEveryBrowserInOrder) {
    FakeHome fake;
    QByteArrayList found;
    for (const CacheFolder& f : findCacheFolders(homesIn(fake.tree))) found << f.folder;
    EXPECT_EQ(found, fake.expected);
}

TEST(CacheSources, NothingInAnEmptyHome) {
    TempTree tree;
    tree.createFolder("home/.cache");
    EXPECT_TRUE(findCacheFolders(homesIn(tree)).empty());
}

// The cleaner is told which folders' browsers are running.
struct ClearFixture {
    TempTree tree;
    CacheHomes homes = homesIn(tree);
    QByteArray proc = tree.createFolder("proc");
    StopToken stop;
    JobSink sink;

    CacheClearResult clear(const QByteArrayList& folders, int days = 0) {
        CacheClearOptions o;
        o.folders = folders;
        o.nDays = days;
        o.homes = homes;
        o.procRoot = proc;
        return findCacheFiles(o, stop, sink);
    }
};

TEST(CacheClearing, OnlyFilesDirectlyInTheFolderAndNoLinks) {
    ClearFixture f;
    const QByteArray dir = f.tree.createFolder("home/.cache/chromium/Default/Cache/Cache_Data");
    const QByteArray a =
        f.tree.createFile("home/.cache/chromium/Default/Cache/Cache_Data/a", 10, kOld, kOld);
    const QByteArray b =
        f.tree.createFile("home/.cache/chromium/Default/Cache/Cache_Data/b", 5, kOld, kOld);
    f.tree.createFile("home/.cache/chromium/Default/Cache/Cache_Data/index-dir/the-real-index", 7,
                      kOld, kOld);
    const QByteArray outside = f.tree.createFile("precious", 9, kOld, kOld);
    f.tree.createSymlink("home/.cache/chromium/Default/Cache/Cache_Data/link", outside);
    f.tree.createSymlink("home/.cache/chromium/Default/Cache/Cache_Data/dirlink", f.tree.root());
    ::mkfifo(f.tree.path("home/.cache/chromium/Default/Cache/Cache_Data/fifo").constData(), 0600);

    CacheClearResult r = f.clear({QByteArray(), dir, f.tree.path("missing")});
    std::sort(r.files.begin(), r.files.end());
    EXPECT_EQ(r.files, (QByteArrayList{a, b}));
    EXPECT_EQ(r.total, 15);
    EXPECT_TRUE(r.busyBrowsers.isEmpty());
    // A user's own folder with a trailing separator is read the same way.
    EXPECT_EQ(f.clear({dir + '/'}).files.size(), 2);
}

TEST(CacheClearing, AgeLimitCountsDaysSinceTheLastAccess) {
    ClearFixture f;
    const time_t now = ::time(nullptr);
    const QByteArray dir = f.tree.createFolder("cache");
    const QByteArray old = f.tree.createFile("cache/old", 1, now, now - 150 * 86400);
    const QByteArray recent = f.tree.createFile("cache/recent", 1, now, now - 3 * 86400);
    for (auto [days, expected] : {std::pair(0, 2), std::pair(3, 2), std::pair(4, 1),
                                  std::pair(100, 1), std::pair(151, 0)}) {
        const CacheClearResult r = f.clear({dir}, days);
        EXPECT_EQ(r.files.size(), expected) << days << " days";
        if (expected == 1) {
            EXPECT_EQ(r.files.first(), old);
        }
    }
    (void)recent;
}

TEST(CacheClearing, AProfileInUseKeepsItsFilesAndIsNamedOnce) {
    ClearFixture f;
    const QByteArray foxDir = cacheAt(f.tree, ".cache/mozilla/firefox/a.default/cache2/entries");
    const QByteArray foxDir2 = cacheAt(f.tree, ".cache/mozilla/firefox/a.default/cache2/entries/");
    const QByteArray other = cacheAt(f.tree, ".cache/mozilla/firefox/b.default/cache2/entries");
    const QByteArray chromium = cacheAt(f.tree, ".cache/chromium/Profile 3/Cache/Cache_Data");
    const QByteArray vivaldi = cacheAt(f.tree, ".cache/vivaldi/Default/Cache/Cache_Data");
    const QByteArray snapChromium =
        cacheAt(f.tree, "snap/chromium/common/.cache/chromium/Default/Cache/Cache_Data");
    const QByteArrayList all = {foxDir, foxDir2, other, chromium, vivaldi, snapChromium};
    EXPECT_EQ(f.clear(all).files.size(), 6);

    // Firefox's lock is a link to nowhere; Chromium's SingletonLock is one per user-data folder.
    f.tree.createSymlink("home/.mozilla/firefox/a.default/lock", "127.0.1.1:+4242");
    f.tree.createSymlink("home/.config/chromium/SingletonLock", "host-4242");
    CacheClearResult r = f.clear(all);
    EXPECT_EQ(r.files, (QByteArrayList{other + "/f", vivaldi + "/f", snapChromium + "/f"}));
    EXPECT_EQ(r.busyBrowsers, (QStringList{"Firefox", "Chromium"}));

    // A running process of the current user's named like the browser; another user's is not.
    f.tree.createFileWith("proc/4243/comm", "vivaldi-bin\n");
    f.tree.createFileWith("proc/4244/comm", "opera\n");
    ASSERT_EQ(::chown(f.tree.path("proc/4244").constData(), 65534, 65534), 0);
    r = f.clear({vivaldi, cacheAt(f.tree, ".cache/opera/Default/Cache/Cache_Data")});
    EXPECT_EQ(r.busyBrowsers, QStringList{"Vivaldi"});
    EXPECT_EQ(r.files.size(), 1);
}

TEST(CacheClearing, TheWordsForBusyBrowsers) {
    CacheOwner owner;
    TempTree tree;
    EXPECT_FALSE(ownerOfCacheFolder(tree.path("mine"), homesIn(tree), owner));
    ASSERT_TRUE(ownerOfCacheFolder(
        tree.path("home/.var/app/com.brave.Browser/cache/BraveSoftware/Brave-Browser/Default/x"),
        homesIn(tree), owner));
    EXPECT_EQ(owner.browser, "Brave");
    EXPECT_EQ(
        owner.lockFiles,
        QByteArrayList{tree.path(
            "home/.var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser/SingletonLock")});
}

// vastel-scan caches, as another user who cannot read one of the profiles.
TEST(ScanCaches, ListsTheDefaultsOnePerLine) {
    if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "needs root and setpriv to run as another user";
    TempTree tree(QStringLiteral("/tmp"));
    ASSERT_EQ(::chmod(tree.root().constData(), 0755), 0);
    const QByteArray scanner = tree.copyProgram(VASTEL_SCAN_PATH, "bin/vastel-scan");
    const QByteArray def = cacheAt(tree, ".cache/chromium/Default/Cache/Cache_Data");
    cacheAt(tree, ".cache/chromium/Profile 3/Cache/Cache_Data");
    const QByteArray fox = cacheAt(tree, ".cache/mozilla/firefox/x.default/cache2/entries");
    ASSERT_EQ(::chmod(tree.path("home/.cache/chromium/Profile 3").constData(), 0700), 0);

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), QFile::decodeName(tree.path("home")));
    env.remove(QStringLiteral("XDG_CACHE_HOME"));
    env.remove(QStringLiteral("XDG_CONFIG_HOME"));
    p.setProcessEnvironment(env);
    p.start(
        QStringLiteral("setpriv"),
        {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
         QStringLiteral("--clear-groups"), QFile::decodeName(scanner), QStringLiteral("caches")});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(p.readAllStandardOutput(), fox + '\n' + def + '\n');
}

}  // namespace
}  // namespace vastel
