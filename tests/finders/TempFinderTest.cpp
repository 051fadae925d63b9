// The quick clean's engine: the temporary-file test, the walk, and vastel-scan temp.
#include "core/CountedList.h"
#include "core/SettingsStore.h"
#include "finders/TempFinder.h"
#include "platform/Wildcard.h"
#include "protect/FileTypeRows.h"
#include "support/SettingsFixture.h"
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

struct Outcome {
    QByteArray out, err;
    int code = -1;
};

Outcome runProgram(const QString& program, const QStringList& arguments) {
    QProcess p;
    p.start(program, arguments);
    Outcome r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "timed out";
        return r;
    }
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

Outcome scan(std::initializer_list<QByteArray> list) {
    QStringList a;
    for (const QByteArray& x : list) a << QFile::decodeName(x);
    return runProgram(QStringLiteral(VASTEL_SCAN_PATH), a);
}

// The last cell of each output line: the exact path, escaped.
QByteArrayList lastCells(const QByteArray& out) {
    QByteArrayList cells;
    for (const QByteArray& line : out.split('\n'))
        if (!line.isEmpty()) cells << line.mid(line.lastIndexOf('\t') + 1);
    return cells;
}

QStringList builtInEntries() {
    QStringList entries;
    for (const QString& p : quickCleanBuiltInTypes()) entries << typeRow(p);
    return entries;
}

struct TempCase {
    const char* name;
    bool temporary;
};

TEST(TempTypes, ExtensionEqualsAKeyWithoutWildcards) {
    const TempTypes types(builtInEntries());
    const TempCase cases[] = {
        {"a.TMP", true},     {"b.tmp", true},     {"c.Tmp", true}, {"a.tmp.bak", true},
        {"a.bak.tmp", true}, {"noext", false},    {"x.~mp", true}, {"x.~*", true},
        {"x.~ab", false},    {"x.~", false},      {".tmp", true},  {"tmp", false},
        {"x.tmpx", false},   {"x.db$", true},     {"x.$$$", true}, {"x.---", true},
        {"a.b.OLD", true},   {"x.t\xffp", false}, {"x.", false},   {"x.TMP\xc3\xa9", false},
    };
    for (const TempCase& c : cases) {
        EXPECT_EQ(types.isThisFileTemporary(c.name), c.temporary) << c.name;
        // The walk's prefilter lets every temporary name through.
        if (c.temporary)
            EXPECT_TRUE(WildcardPattern(types.namePattern()).matches(c.name)) << c.name;
    }
}

TEST(TempTypes, KeysComeFromTheSelectedEntriesOnly) {
    // A key is the text from the second character to the first TAB; descriptions never count.
    const TempTypes tmp({QStringLiteral("*.tmp\tTMP File"), QStringLiteral("*.TXT")});
    EXPECT_TRUE(tmp.isThisFileTemporary("x.tmp"));
    EXPECT_TRUE(tmp.isThisFileTemporary("x.txt"));
    EXPECT_FALSE(tmp.isThisFileTemporary("x.bak"));
    EXPECT_FALSE(tmp.isThisFileTemporary("TMP File"));
    // A whole name gives a key that no extension equals; an empty selection matches nothing.
    EXPECT_FALSE(TempTypes({QStringLiteral("readme.txt")}).isThisFileTemporary("readme.txt"));
    EXPECT_FALSE(TempTypes({}).isThisFileTemporary("x.tmp"));
    // "*" asks for names without an extension; its prefilter must not narrow the walk.
    const TempTypes bare({QStringLiteral("*")});
    EXPECT_TRUE(bare.isThisFileTemporary("Makefile"));
    EXPECT_EQ(bare.namePattern(), QByteArray("*.*"));
    EXPECT_EQ(TempTypes({QStringLiteral("*.a;b")}).namePattern(), QByteArray("*.*"));
}

TEST(TempFinder, HiddenFilesAreFoundSystemFilesAndHiddenFoldersAreNot) {
    TempTree tree;
    const QByteArray shown = tree.createFile("keep/a.tmp", 10);
    const QByteArray hidden = tree.createFile("keep/.hidden.tmp", 20);
    const QByteArray odd = tree.createFile("keep/tab\tnew\nline\xff.TMP", 30);
    tree.createFile("keep/plain.txt", 1);
    tree.createFile(".cache/inside.tmp", 1);
    tree.createFile("keep/sub/.deeper/inside.tmp", 1);
    const QByteArray deep = tree.createFile("keep/sub/deep.bak", 40);
    ASSERT_EQ(::mkfifo(tree.path("keep/pipe.tmp").constData(), 0644), 0);
    tree.createSymlink("keep/link.tmp", shown);

    TempOptions options;
    options.types = builtInEntries();
    WalkProgress quiet;
    StopToken stop;
    ScanTarget target;
    target.root = tree.root();
    const TempRun run = runTempFinder({target}, options, quiet, stop);

    QByteArrayList paths;
    for (const ResultRecord& r : run.records) paths << r.path();
    // Sub-folders first, then the folder's own files in listing order.
    ASSERT_EQ(paths.size(), 4);
    EXPECT_EQ(paths.first(), deep);
    std::sort(paths.begin() + 1, paths.end());
    QByteArrayList own{shown, hidden, odd};
    std::sort(own.begin(), own.end());
    EXPECT_EQ(paths.mid(1), own);
    for (const ResultRecord& r : run.records)
        if (r.path() == odd) {
            EXPECT_EQ(r.size, 30);
            EXPECT_EQ(run.columns->text(r, 5), QStringLiteral("TMP File"));
        }
}

TEST(ScanTempCommand, PrintsTheGridRowsAndTheEscapedPath) {
    TempTree tree;
    tree.createFile("a.tmp", 1234, 1'600'000'000, 1'600'000'000);
    tree.createFile("tab\there.bak", 1);
    tree.createFile("skip.txt", 1);
    const Outcome r = scan({"temp", "--types", "*.tmp;*.BAK", tree.root()});
    EXPECT_EQ(r.code, 0) << r.err.constData();
    const QByteArrayList lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 3);  // two rows and the final newline
    QByteArrayList paths = lastCells(r.out);
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (QByteArrayList{tree.path("a.tmp"), tree.path("tab\\there.bak")}));
    for (const QByteArray& line : lines)
        if (line.endsWith("a.tmp")) EXPECT_EQ(line.split('\t').size(), 7) << line.constData();
}

using ScanTempStored = test::SettingsFixture;

TEST_F(ScanTempStored, UsesTheStoredListOrTheBuiltInOne) {
    TempTree tree;
    tree.createFile("x.chk", 1);
    tree.createFile("y.xyz", 1);
    EXPECT_EQ(lastCells(scan({"temp", tree.root()}).out), QByteArrayList{tree.path("x.chk")});
    {
        SettingsStore store;
        writeCountedList(store, kTemporaryTypesSection, {QStringLiteral("*.xyz")});
    }
    EXPECT_EQ(lastCells(scan({"temp", tree.root()}).out), QByteArrayList{tree.path("y.xyz")});
}

TEST(ScanTempCommand, BadArgumentsExitWithTwo) {
    for (const auto& a : {QByteArrayList{"temp"}, QByteArrayList{"temp", "--types"},
                          QByteArrayList{"temp", "--types", ";;", "/tmp"},
                          QByteArrayList{"temp", "--bogus", "/tmp"}}) {
        QStringList s;
        for (const QByteArray& x : a) s << QString::fromUtf8(x);
        const Outcome r = runProgram(QStringLiteral(VASTEL_SCAN_PATH), s);
        EXPECT_EQ(r.code, 2) << a.join(' ').constData();
        EXPECT_TRUE(r.err.startsWith("vastel-scan temp: ")) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

TEST(ScanTempCommand, UnreadableFoldersAreSkippedSilently) {
    if (::geteuid() != 0 || QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        GTEST_SKIP() << "needs root and setpriv to run the scan as another user";
    TempTree tree(QStringLiteral("/tmp"));
    TempTree bin(QStringLiteral("/tmp"));
    ASSERT_EQ(::chmod(tree.root().constData(), 0755), 0);
    ASSERT_EQ(::chmod(bin.root().constData(), 0755), 0);
    const QByteArray scanner = bin.copyProgram(VASTEL_SCAN_PATH, "vastel-scan");
    tree.createFile("open/seen.tmp", 1);
    tree.createFile("closed/secret.tmp", 1);
    ASSERT_EQ(::chmod(tree.path("closed").constData(), 0700), 0);
    const Outcome r = runProgram(
        QStringLiteral("setpriv"),
        {QStringLiteral("--reuid=65534"), QStringLiteral("--regid=65534"),
         QStringLiteral("--clear-groups"), QFile::decodeName(scanner), QStringLiteral("temp"),
         QStringLiteral("--types"), QStringLiteral("*.tmp"), QFile::decodeName(tree.root())});
    EXPECT_EQ(lastCells(r.out), QByteArrayList{tree.path("open/seen.tmp")});
    EXPECT_EQ(r.err, QByteArray());
    EXPECT_EQ(r.code, 0);
}

}  // namespace
}  // namespace vastel
