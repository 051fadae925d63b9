#include "RemovalTestSupport.h"
#include "core/DialogJobSink.h"
#include "platform/ScriptedDialogs.h"
#include "removal/ArchiveFolder.h"
#include "removal/ReviewRemoval.h"
#include "removal/ZipArchiver.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QProcess>
#include <QTime>

using namespace vastel;
using namespace vastel::test;

namespace {

const QDateTime kStart(QDate(1997, 9, 6), QTime(5, 33));

class ArchiveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        archiveFolder = tree.createFolder("archives");
        archive = archiveFolder + "/Drive-R-Duplicates06Sep970533.zip";
    }
    QStringList zipFailures(const QList<QByteArray>& paths) {
        QStringList out;
        for (const QByteArray& p : paths)
            out << QStringLiteral("Couldn't zip up file - ") + QString::fromUtf8(p);
        return out;
    }
    // Runs the helper (as another user, or under a file size limit) and gives its lines.
    QStringList runHelper(const QStringList& prefix, const QStringList& arguments) {
        QProcess helper;
        QStringList all = prefix;
        all << QStringLiteral(REMOVAL_ARCHIVE_HELPER) << arguments;
        helper.start(all.takeFirst(), all);
        EXPECT_TRUE(helper.waitForFinished(60000));
        EXPECT_EQ(helper.exitCode(), 0) << helper.readAllStandardError().constData();
        return QString::fromUtf8(helper.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    }

    TempTree tree;
    ScriptedDialogs script;
    DialogJobSink boxes;  // problems shown as the review shows them
    StopToken noStop;
    QByteArray archive;
};

}  // namespace

TEST(ArchiveNames, DriveTagAndStartTime) {
    archiveFolder = "/srv/archives";
    EXPECT_EQ(archiveFileName(QStringLiteral("Duplicates"), QLatin1Char('R'), kStart),
              "/srv/archives/Drive-R-Duplicates06Sep970533.zip");
    EXPECT_EQ(archiveFileName(QString(), QLatin1Char('R'), kStart),
              "/srv/archives/Drive-R-06Sep970533.zip");
    EXPECT_EQ(archiveFileName(QStringLiteral("TempClean"), QLatin1Char('R'),
                              QDateTime(QDate(2001, 12, 31), QTime(23, 59))),
              "/srv/archives/Drive-R-TempClean31Dec012359.zip");
    archiveFolder.clear();  // no folder: the home folder
    EXPECT_EQ(archiveFileName(QStringLiteral("FileDates"), QLatin1Char('R'), kStart),
              qgetenv("HOME") + "/Drive-R-FileDates06Sep970533.zip");
    EXPECT_EQ(driveLetterOf("/home/ann/DATA/REPORT.DOC"), QLatin1Char('R'));
    EXPECT_EQ(archiveMemberName("/home/ann/DATA/REPORT.DOC"), "home/ann/DATA/REPORT.DOC");
}

// Each file becomes one Deflate member named by its path without the leading "/", dated by
// the file's modification time; the files are deleted once their member is written.
TEST_F(ArchiveTest, FilesBecomeMembersOfOneArchiveAndAreDeleted) {
    const time_t mtime = QDateTime(QDate(2020, 5, 6), QTime(7, 8, 10)).toSecsSinceEpoch();
    const QByteArray text(20000, 'a');
    const QList<QByteArray> files = {
        tree.createFileWith("data/report.doc", text, mtime),
        tree.createFileWith("data/tab\tnew\nline\xff.txt", "odd name"),
        tree.createFileWith("data/empty", ""),
        tree.createFileWith("other/deeper/file.bin", randomBytes(70000, 1)),
    };
    const ArchiveOutcome outcome =
        archiveFiles(files, {QStringLiteral("Duplicates"), "the comment", kStart}, boxes, noStop);
    EXPECT_EQ(outcome.archived, 4);
    EXPECT_FALSE(outcome.aborted);
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join('\n').toStdString();
    EXPECT_EQ(folderNames(archiveFolder),
              std::vector<QByteArray>{"Drive-R-Duplicates06Sep970533.zip"});

    const ZipContent zip = readZip(archive);
    ASSERT_TRUE(zip.opened);
    EXPECT_EQ(zip.comment, "the comment");
    std::vector<QByteArray> expected;
    for (const QByteArray& f : files) expected.push_back(f.mid(1));
    EXPECT_EQ(zip.names(), expected);
    EXPECT_EQ(zip.members[0].method, ZIP_CM_DEFLATE);
    EXPECT_EQ(zip.members[0].mtime, mtime);
    EXPECT_EQ(zipMemberData(archive, expected[0]), text);
    EXPECT_EQ(zipMemberData(archive, expected[1]), "odd name");
    EXPECT_EQ(zipMemberData(archive, expected[3]), randomBytes(70000, 1));
    // The permissions go along, for the restore.
    int error = 0;
    zip_t* reader = zip_open(archive.constData(), ZIP_RDONLY, &error);
    ASSERT_TRUE(reader);
    zip_uint8_t system = 0;
    zip_uint32_t attributes = 0;
    ASSERT_EQ(zip_file_get_external_attributes(reader, 0, 0, &system, &attributes), 0);
    EXPECT_EQ(system, ZIP_OPSYS_UNIX);
    EXPECT_EQ(attributes >> 16, 0100644u);
    zip_discard(reader);
    for (const QByteArray& f : files) EXPECT_FALSE(pathExists(f));
    EXPECT_TRUE(unzipTestPasses(archive));
    // No temporary files are left beside it.
    EXPECT_EQ(folderNames(archiveFolder).size(), 1u);
}

// Anything that cannot be added stays where it is, with its message; the loop goes on.
TEST_F(ArchiveTest, FilesThatCannotBeAddedStay) {
    const QByteArray good = tree.createFileWith("good.txt", "good");
    const QByteArray folder = tree.createFolder("became a folder");
    const QByteArray link = tree.createSymlink("link", good);
    const QByteArray missing = tree.path("missing.txt");
    const ArchiveOutcome outcome = archiveFiles(
        {folder, link, missing, good}, {QStringLiteral("Duplicates"), {}, kStart}, boxes, noStop);
    EXPECT_EQ(outcome.archived, 1);
    EXPECT_EQ(outcome.kept, 3);
    EXPECT_EQ(script.messages(), zipFailures({folder, link, missing}));
    EXPECT_TRUE(pathExists(folder));
    EXPECT_TRUE(pathExists(link));
    EXPECT_EQ(readZip(archive).names(), std::vector<QByteArray>{good.mid(1)});
}

// The same path archived again in the same minute replaces the older member of that name
// (also for a name that is not UTF-8), and the file goes.
TEST_F(ArchiveTest, SameMemberTwiceReplacesTheOlder) {
    for (const QByteArray& name : {QByteArray("same.txt"), QByteArray("same\xff.txt")}) {
        script.clear();
        const QByteArray path = tree.createFileWith(name, "first");
        archiveFiles({path}, {QStringLiteral("Duplicates"), {}, kStart}, boxes, noStop);
        tree.createFileWith(name, "second");
        const ArchiveOutcome outcome =
            archiveFiles({path}, {QStringLiteral("Duplicates"), {}, kStart}, boxes, noStop);
        EXPECT_EQ(outcome.archived, 1);
        EXPECT_TRUE(script.messages().isEmpty());
        EXPECT_FALSE(pathExists(path));
        EXPECT_EQ(zipMemberData(archive, path.mid(1)), "second");
    }
    EXPECT_EQ(readZip(archive).members.size(), 2u);
    EXPECT_TRUE(unzipTestPasses(archive));
}

TEST_F(ArchiveTest, MissingArchiveFolderKeepsEveryFile) {
    archiveFolder = tree.path("no such folder");
    const QList<QByteArray> files = {tree.createFileWith("a.txt", "a"),
                                     tree.createFileWith("b.txt", "b")};
    const ArchiveOutcome outcome =
        archiveFiles(files, {QStringLiteral("Duplicates"), {}, kStart}, boxes, noStop);
    EXPECT_EQ(outcome.archived, 0);
    EXPECT_EQ(script.messages(), zipFailures(files));
    for (const QByteArray& f : files) EXPECT_TRUE(pathExists(f));
}

// Run as an unprivileged user: root would write into a read-only folder anyway.
TEST_F(ArchiveTest, ReadOnlyArchiveFolderKeepsEveryFile) {
    if (::access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "setpriv is missing";
    ASSERT_EQ(::chmod(tree.root().constData(), 0755), 0);
    const QByteArray files = tree.createFolder("files");
    const QList<QByteArray> paths = {tree.createFileWith("files/a.txt", "a"),
                                     tree.createFileWith("files/b.txt", "b")};
    // The files could be deleted by that user; only the archive folder is closed to it.
    ASSERT_EQ(::chown(files.constData(), 65534, 65534), 0);
    ASSERT_EQ(::chown(archiveFolder.constData(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(archiveFolder.constData(), 0555), 0);
    const QStringList lines =
        runHelper({QStringLiteral("setpriv"), QStringLiteral("--reuid=65534"),
                   QStringLiteral("--regid=65534"), QStringLiteral("--clear-groups")},
                  {QFile::decodeName(archiveFolder), QFile::decodeName(paths[0]),
                   QFile::decodeName(paths[1])});
    EXPECT_EQ(lines, zipFailures(paths) << QStringLiteral("archived 0 kept 2"));
    for (const QByteArray& p : paths) EXPECT_TRUE(pathExists(p));
    EXPECT_TRUE(folderNames(archiveFolder).empty());
}

// A full disk, as a file size limit: the member that does not fit is rolled back (also when
// it fails while being copied into the archive), the archive stays valid and the file stays.
TEST_F(ArchiveTest, FullDiskKeepsTheFileAndAValidArchive) {
    const QList<QByteArray> paths = {tree.createFileWith("a.bin", randomBytes(200000, 2)),
                                     tree.createFileWith("b.bin", randomBytes(150000, 3)),
                                     tree.createFileWith("c.bin", randomBytes(10000, 4))};
    const QStringList lines =
        runHelper({}, {QStringLiteral("--fsize"), QStringLiteral("300000"),
                       QFile::decodeName(archiveFolder), QFile::decodeName(paths[0]),
                       QFile::decodeName(paths[1]), QFile::decodeName(paths[2])});
    EXPECT_EQ(lines, zipFailures({paths[1]}) << QStringLiteral("archived 2 kept 1"));
    EXPECT_FALSE(pathExists(paths[0]));
    EXPECT_EQ(readWholeFile(paths[1]), randomBytes(150000, 3));
    EXPECT_FALSE(pathExists(paths[2]));
    const QByteArray written = archiveFolder + "/Drive-R-Test02Jan240304.zip";
    EXPECT_EQ(readZip(written).names(),
              (std::vector<QByteArray>{paths[0].mid(1), paths[2].mid(1)}));
    EXPECT_TRUE(unzipTestPasses(written));
    EXPECT_EQ(folderNames(archiveFolder).size(), 1u);
}

// An abort abandons the member being written; the archive holds exactly what came before.
TEST_F(ArchiveTest, AbortLeavesAValidArchiveOfTheMembersWrittenBefore) {
    const QList<QByteArray> paths = {tree.createFileWith("1.txt", "one"),
                                     tree.createFileWith("2.txt", "two"),
                                     tree.createFileWith("3.bin", randomBytes(8 << 20, 5)),
                                     tree.createFileWith("4.txt", "four")};
    int current = -1;
    bool midMember = false;
    StopToken stop;
    struct : DialogJobSink {
        int* current;
        bool* midMember;
        StopToken* stop;
        void item(qint64 i, const QByteArray&) override { *current = int(i); }
        void progress(qint64 percent, qint64) override {
            if (*current == 2 && percent > 0 && percent < 100) {
                *midMember = true;
                stop->request();
            }
        }
    } sink;
    sink.current = &current;
    sink.midMember = &midMember;
    sink.stop = &stop;
    const ArchiveOutcome outcome =
        archiveFiles(paths, {QStringLiteral("Duplicates"), {}, kStart}, sink, stop);
    EXPECT_TRUE(outcome.aborted);
    EXPECT_EQ(outcome.archived, 2);
    EXPECT_TRUE(midMember);
    EXPECT_TRUE(script.messages().isEmpty());
    const ZipContent zip = readZip(archive);
    ASSERT_TRUE(zip.opened);
    EXPECT_EQ(zip.names(), (std::vector<QByteArray>{paths[0].mid(1), paths[1].mid(1)}));
    EXPECT_TRUE(unzipTestPasses(archive));
    EXPECT_TRUE(pathExists(paths[2]));
    EXPECT_TRUE(pathExists(paths[3]));
    EXPECT_EQ(folderNames(archiveFolder).size(), 1u);
}

// Progress is per member, from 0 to 100, even when the archive already holds many members.
TEST_F(ArchiveTest, ProgressIsPerMember) {
    for (int i = 0; i < 5; ++i)
        archiveFiles({tree.createFileWith("small" + QByteArray::number(i), "x")},
                     {QStringLiteral("Duplicates"), {}, kStart}, boxes, noStop);
    std::vector<int> seen;
    struct : JobSink {
        std::vector<int>* seen;
        void progress(qint64 percent, qint64) override { seen->push_back(int(percent)); }
    } sink;
    sink.seen = &seen;
    ZipArchiver zipper(sink, noStop);
    const ZipArchiver::Result result =
        zipper.addFile(archive, {}, tree.createFileWith("big.bin", randomBytes(2 << 20, 6)));
    EXPECT_EQ(result.status, ZipArchiver::Status::Added);
    ASSERT_FALSE(seen.empty());
    EXPECT_LT(seen.front(), 50);
    EXPECT_EQ(seen.back(), 100);
    EXPECT_GT(seen.size(), 5u);
    EXPECT_EQ(readZip(archive).members.size(), 6u);
}

// Appending keeps what is there: an archive made by another tool gains a member.
TEST_F(ArchiveTest, AppendsToAnArchiveMadeElsewhere) {
    const QByteArray old = tree.createFileWith("old/readme.txt", "from zip");
    QProcess zip;
    zip.setWorkingDirectory(QFile::decodeName(tree.path("old")));
    zip.start(QStringLiteral("zip"),
              {QStringLiteral("-q"), QFile::decodeName(archive), QStringLiteral("readme.txt")});
    if (!zip.waitForFinished() || zip.exitCode() != 0) GTEST_SKIP() << "zip is missing";
    archiveFiles({tree.createFileWith("new.txt", "new")},
                 {QStringLiteral("Duplicates"), {}, kStart}, boxes, noStop);
    EXPECT_EQ(zipMemberData(archive, "readme.txt"), "from zip");
    EXPECT_EQ(zipMemberData(archive, tree.path("new.txt").mid(1)), "new");
    EXPECT_TRUE(unzipTestPasses(archive));
}
