#include "core/CountedList.h"
#include "core/SettingsStore.h"
#include "platform/SystemFolders.h"
#include "protect/FolderListFile.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>

using namespace vastel;

namespace {

struct ScanResult {
    int exitCode = -1;
    QByteArray out, err;
};

// vastel-scan with the test's own folders and a fixed search path.
ScanResult scan(const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PATH"), QStringLiteral("/opt/tools:/opt/more/"));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(VASTEL_SCAN_BIN), QStringList{QStringLiteral("harbor")} + args);
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

}  // namespace

TEST(ScanHarbor, PrintsCodeReasonAndEscapedPathPerLine) {
    // The fixture paths lie below /srv and /opt; without the system trees there.
    {
        SettingsStore store;
        writeCountedBytes(store, QStringLiteral("SystemTrees"), {});
    }
    ASSERT_TRUE(saveFolderListFile(folderListFilePath(), {"/srv/keep/", "/srv/tree/*.*"}));
    {
        SettingsStore store;
        writeCountedList(store, QStringLiteral("NoDelExt"), {QStringLiteral("*.sys")});
    }
    const ScanResult files =
        scan({"/srv/keep/a.txt", "/srv/tree/x/y.txt", "/home/u/X.SYS", "/etc/hosts", "/opt/tools/t",
              "/srv/other/f", "/srv/keep/tab\tname\\x"});
    EXPECT_EQ(files.exitCode, 0);
    EXPECT_EQ(files.err, QByteArray());
    EXPECT_EQ(files.out.toStdString(),
              "3\treferenced in the registry\t/srv/keep/a.txt\n"
              "3\treferenced in the registry\t/srv/tree/x/y.txt\n"
              "4\tincluded in the protected file extensions\t/home/u/X.SYS\n"
              "1\tin the Windows/System folder\t/etc/hosts\n"
              "2\tin the search path\t/opt/tools/t\n"
              "0\t\t/srv/other/f\n"
              "3\treferenced in the registry\t/srv/keep/tab\\tname\\\\x\n");

    const ScanResult folders = scan({"--folder", "/srv/keep", "/srv/keep/sub", "/home/u/x.sys"});
    EXPECT_EQ(folders.out.toStdString(),
              "3\treferenced in the registry\t/srv/keep\n"
              "0\t\t/srv/keep/sub\n"
              "0\t\t/home/u/x.sys\n");
}

TEST(ScanHarbor, SaysWhenNoListIsBuiltAndRefusesBadArguments) {
    ASSERT_TRUE(saveFolderListFile(folderListFilePath(), {}));
    const ScanResult unbuilt = scan({"/opt/more/f"});
    EXPECT_EQ(unbuilt.exitCode, 0);
    EXPECT_EQ(unbuilt.out, QByteArray("2\tin the search path\t/opt/more/f\n"));
    EXPECT_TRUE(unbuilt.err.contains("no Safe Harbor folder list has been built yet"));

    EXPECT_EQ(scan({}).exitCode, 2);
    EXPECT_EQ(scan({"--folder"}).exitCode, 2);
    EXPECT_EQ(scan({"--bogus", "/x"}).exitCode, 2);
    // After "--" a path may begin with "-".
    EXPECT_EQ(scan({"--", "--folder"}).out.left(3), QByteArray("0\t\t"));
}

// The operating system's trees and another user's files, as the duplicate finder's review
// would meet them on "/" as root.
TEST(ScanHarbor, SystemTreesAndOtherUsersFiles) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to chown";
    {
        SettingsStore store;
        writeCountedBytes(store, QStringLiteral("SystemTrees"), systemTopFolders());
    }
    ASSERT_TRUE(saveFolderListFile(folderListFilePath(), {}));
    test::TempTree tmp(QStringLiteral("/tmp"));
    const QByteArray theirs = tmp.createFile("theirs", 1);
    ASSERT_EQ(::chown(theirs.constData(), 65534, 65534), 0);
    const QByteArray mine = tmp.createFile("mine", 1);
    const ScanResult r = scan({"/var/lib/postgresql/15/main/base/1/2619", "/usr/share/doc/x",
                               "/etc/ssl/certs/x.pem", "/srv/www/index.html", "/root/.profile",
                               QString::fromUtf8(theirs), QString::fromUtf8(mine)});
    EXPECT_EQ(r.out.toStdString(),
              "1\tin the Windows/System folder\t/var/lib/postgresql/15/main/base/1/2619\n"
              "1\tin the Windows/System folder\t/usr/share/doc/x\n"
              "1\tin the Windows/System folder\t/etc/ssl/certs/x.pem\n"
              "1\tin the Windows/System folder\t/srv/www/index.html\n"
              "1\tin the Windows/System folder\t/root/.profile\n"
              "5\towned by another user\t" +
                  theirs.toStdString() + "\n0\t\t" + mine.toStdString() + "\n");
}
