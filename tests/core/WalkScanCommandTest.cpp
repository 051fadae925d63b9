#include "platform/PackedStamp.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>

namespace vastel {
namespace {

using test::TempTree;

struct Outcome {
    QByteArray out, err;
    int code = -1;
};

Outcome runProgram(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    Outcome r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "timed out: " << program.toStdString();
        return r;
    }
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

// Arguments as the exact bytes of paths.
QStringList args(std::initializer_list<QByteArray> list) {
    QStringList out;
    for (const QByteArray& a : list) out << QFile::decodeName(a);
    return out;
}

Outcome scan(std::initializer_list<QByteArray> arguments) {
    return runProgram(QStringLiteral(VASTEL_SCAN_PATH), args(arguments));
}

QByteArray stampText(time_t mtime) {
    return QByteArray::number(packDosStamp(mtime), 16).toUpper().rightJustified(8, '0');
}

TEST(ScanWalkCommand, OneEscapedLinePerFileInWalkOrder) {
    TempTree tree;
    const time_t t1 = 1600000000, t2 = 1700000123;
    tree.createFile("sub/tab\there", 3, t1);
    tree.createFile("sub/new\nline\rcr", 0, t2);
    tree.createFile("sub/back\\slash \xff\xfe", 7, t1);
    const QByteArray ro = tree.createFile("top", 12345, t2);
    ASSERT_EQ(::chmod(ro.constData(), 0444), 0);
    tree.createFile(".hidden", 1);

    const Outcome r = scan({"walk", tree.path("sub")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.isEmpty()) << r.err.constData();
    QByteArrayList lines = r.out.split('\n');
    ASSERT_EQ(lines.takeLast(), "");
    std::sort(lines.begin(), lines.end());
    const QByteArray s = tree.path("sub") + '/';
    QByteArrayList expected = {
        s + "back\\\\slash \xff\xfe\t7\t" + stampText(t1) + "\t0",
        s + "new\\nline\\rcr\t0\t" + stampText(t2) + "\t0",
        s + "tab\\there\t3\t" + stampText(t1) + "\t0",
    };
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);

    const Outcome whole = scan({"walk", tree.root()});
    lines = whole.out.split('\n');
    ASSERT_EQ(lines.size(), 5);
    // The sub-folder's files come before the root's own file, which is read-only.
    EXPECT_EQ(lines[3], tree.path("top") + "\t12345\t" + stampText(t2) + "\t1");
}

TEST(ScanWalkCommand, PatternAndTargetsInOrder) {
    TempTree tree;
    tree.createFile("one/a.TXT", 1);
    tree.createFile("one/b.doc", 1);
    tree.createFile("two/c.txt", 1);
    const Outcome r = scan({"walk", "--pattern", "*.txt", tree.path("two"), tree.path("one")});
    EXPECT_EQ(r.code, 0);
    const QByteArrayList lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(tree.path("two/c.txt") + '\t'));
    EXPECT_TRUE(lines[1].startsWith(tree.path("one/a.TXT") + '\t'));
}

TEST(ScanWalkCommand, DeletedTargetIsReportedAndTheNextOneScanned) {
    TempTree tree;
    tree.createFile("kept/f", 1);
    const QByteArray gone = tree.createFolder("gone");
    ASSERT_EQ(::rmdir(gone.constData()), 0);
    const Outcome r = scan({"walk", gone, tree.path("kept")});
    EXPECT_EQ(r.err, "Can't open drive " + gone + "\n");
    EXPECT_TRUE(r.out.startsWith(tree.path("kept/f") + '\t'));
    EXPECT_EQ(r.code, 1);
}

TEST(ScanWalkCommand, LinksLoopsAndTheRootAreNotFollowed) {
    TempTree tree;
    tree.createFile("a/f", 1);
    tree.createSymlink("a/up", "..");
    tree.createSymlink("slash", "/");
    tree.createSymlink("me", "me");
    const Outcome r = scan({"walk", tree.root()});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.count('\n'), 1);
}

TEST(ScanWalkCommand, UnreadableFoldersAreSkippedSilently) {
    if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "needs root and setpriv to run the walk as another user";
    // The tree and the program go where that user can reach them.
    TempTree tree(QStringLiteral("/tmp"));
    TempTree bin(QStringLiteral("/tmp"));
    ASSERT_EQ(::chmod(tree.root().constData(), 0755), 0);
    ASSERT_EQ(::chmod(bin.root().constData(), 0755), 0);
    const QByteArray scanner = bin.copyProgram(VASTEL_SCAN_PATH, "vastel-scan");
    tree.createFile("open/visible", 1);
    tree.createFile("closed/secret", 1);
    tree.createFile("listonly/unreachable", 1);
    tree.createFile("searchonly/unlisted", 1);
    tree.createFile("root-file", 1);
    ASSERT_EQ(::chmod(tree.path("closed").constData(), 0700), 0);
    ASSERT_EQ(::chmod(tree.path("listonly").constData(), 0744), 0);
    ASSERT_EQ(::chmod(tree.path("searchonly").constData(), 0711), 0);

    QStringList a = {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
                     QStringLiteral("--clear-groups"), QFile::decodeName(scanner)};
    a << args({"walk", tree.root(), tree.path("closed"), tree.path("searchonly"),
               tree.path("listonly"), tree.path("open")});
    const Outcome r = runProgram(QStringLiteral("setpriv"), a);
    QByteArrayList lines = r.out.split('\n');
    lines.removeAll(QByteArray());
    QByteArrayList names;
    for (const QByteArray& line : lines) names << line.left(line.indexOf('\t'));
    EXPECT_EQ(names, (QByteArrayList{tree.path("open/visible"), tree.path("root-file"),
                                     tree.path("open/visible")}));
    // Inside the tree nothing is reported. As targets, a folder that cannot be entered fails;
    // one that can be entered but not listed is simply empty.
    EXPECT_EQ(r.err, "Can't open drive " + tree.path("closed") + "\nCan't open drive " +
                         tree.path("listonly") + "\n");
    EXPECT_EQ(r.code, 1);
}

TEST(ScanWalkCommand, UsageErrors) {
    EXPECT_EQ(scan({"walk"}).code, 2);
    EXPECT_EQ(scan({"walk", "--pattern"}).code, 2);
    EXPECT_EQ(scan({"walk", "--bogus", "/tmp"}).code, 2);
}

TEST(ScanWalkCommand, TheWalkChangesNothing) {
    TempTree tree;
    tree.createFile("a/b/c", 10, 1600000000, 1600000000);
    struct stat before, after;
    ASSERT_EQ(::stat(tree.path("a/b/c").constData(), &before), 0);
    EXPECT_EQ(scan({"walk", tree.root()}).code, 0);
    ASSERT_EQ(::stat(tree.path("a/b/c").constData(), &after), 0);
    EXPECT_EQ(after.st_size, before.st_size);
    EXPECT_EQ(after.st_mtime, before.st_mtime);
    EXPECT_EQ(after.st_atime, before.st_atime);  // not even read
}

}  // namespace
}  // namespace vastel
