#include "../removal/RemovalTestSupport.h"
#include "RestoreTestSupport.h"
#include "core/DialogJobSink.h"
#include "platform/ScriptedDialogs.h"
#include "removal/ArchiveFolder.h"
#include "removal/ReviewRemoval.h"
#include "restore/ArchiveListing.h"
#include "restore/ArchiveRestore.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QTime>

using namespace vastel;
using namespace vastel::test;

namespace {

const QDateTime kStart(QDate(1997, 9, 6), QTime(5, 33));
constexpr time_t kMtime = 1600000000;  // even: DOS times keep two-second steps

time_t mtimeOf(const QByteArray& path) {
    struct stat st;
    return ::lstat(path.constData(), &st) == 0 ? st.st_mtime : 0;
}

class RestoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        archiveFolder = tree.createFolder("archives");
        archive = archiveFolder + "/Drive-R-Duplicates06Sep970533.zip";
        dest = tree.createFolder("dest");
    }
    RestoreOutcome restore(const QByteArray& destination) {
        return restoreArchive({archive, destination, {}}, sink, stop);
    }
    TempTree tree;
    ScriptedDialogs script;
    RecordingRestoreSink sink;
    StopToken stop;
    QByteArray archive;
    QByteArray dest;
};

}  // namespace

// Files archived by the review come back byte for byte with their times, at their own paths
// (the root "/") and below another folder.
TEST_F(RestoreTest, RoundTripAtOriginalPathsAndBelowAnotherFolder) {
    const QByteArray deep = QByteArray("deep/") + QByteArray("level/").repeated(40) + "leaf.txt";
    const std::vector<std::pair<QByteArray, QByteArray>> files = {
        {"src/with\ttab.txt", "tab"},
        {"src/with\nnewline.txt", "newline"},
        {"src/latin1-\xe9\xff.bin", randomBytes(100000, 3)},
        {"src/empty", {}},
        {deep, "deep"},
    };
    QList<QByteArray> paths;
    for (const auto& [name, data] : files) paths << tree.createFileWith(name, data, kMtime);
    DialogJobSink boxes;
    const ArchiveOutcome archived =
        archiveFiles(paths, {QStringLiteral("Duplicates"), {}, kStart}, boxes, stop);
    ASSERT_EQ(archived.archived, int(files.size())) << script.messages().join('\n').toStdString();
    for (const QByteArray& p : paths) ASSERT_FALSE(pathExists(p));

    // Every member name is the path's exact bytes.
    const ArchiveListing listing = listArchive(archive);
    ASSERT_TRUE(listing.opened);
    std::vector<QByteArray> names;
    for (const ArchiveMember& m : listing.members) names.push_back(m.name);
    for (const QByteArray& p : paths)
        EXPECT_NE(std::find(names.begin(), names.end(), p.mid(1)), names.end()) << p.constData();

    RestoreOutcome outcome = restore("/");
    EXPECT_TRUE(sink.failures.empty()) << sink.failures.front().text.toStdString();
    EXPECT_EQ(outcome.restored, int(files.size()));
    for (size_t i = 0; i < files.size(); ++i) {
        EXPECT_EQ(readWholeFile(paths[int(i)]), files[i].second) << paths[int(i)].constData();
        EXPECT_EQ(mtimeOf(paths[int(i)]), kMtime);
    }

    outcome = restore(dest);
    EXPECT_EQ(outcome.restored, int(files.size()));
    for (size_t i = 0; i < files.size(); ++i) {
        const QByteArray below = dest + paths[int(i)];
        EXPECT_EQ(readWholeFile(below), files[i].second) << below.constData();
        EXPECT_EQ(mtimeOf(below), kMtime);
    }
    EXPECT_FALSE(holdsTemporaryFiles(tree.path("src")));
}

// Names that would leave the destination are refused and nothing is written for them; the
// other members still come back.
TEST_F(RestoreTest, NamesLeavingTheDestinationAreRefused) {
    const QByteArray outside = tree.createFolder("outside");
    tree.createSymlink("dest/planted", outside);
    const QByteArray absolute = outside + "/absolute.txt";
    ASSERT_TRUE(writeArchive(archive, {{absolute, "a"},
                                       {"../outside/dotdot.txt", "b"},
                                       {"sub/../../outside/inner.txt", "c"},
                                       {"planted/through-link.txt", "d"},
                                       {"planted/deeper/x.txt", "e"},
                                       {"good/ok.txt", "ok"}}));
    const RestoreOutcome outcome = restore(dest);
    EXPECT_EQ(outcome.restored, 1);
    EXPECT_EQ(sink.failedMembers(),
              (QList<QByteArray>{absolute, "../outside/dotdot.txt", "sub/../../outside/inner.txt",
                                 "planted/through-link.txt", "planted/deeper/x.txt"}));
    for (const MemberFailure& f : sink.failures)
        EXPECT_EQ(f.kind, MemberFailure::Kind::LeavesDestination) << f.member.constData();
    EXPECT_TRUE(folderNames(outside).empty());
    EXPECT_EQ(readWholeFile(dest + "/good/ok.txt"), "ok");
    EXPECT_FALSE(pathExists(dest + "/sub"));
}

// A member that fails leaves the file it would replace as it was and no partial file; a
// member that succeeds sends the old file to the trash before it takes its place.
TEST_F(RestoreTest, ReplacedFileGoesToTheTrashAndFailuresKeepIt) {
    const QByteArray target = tree.createFileWith("dest/keep.txt", "old content", kMtime);
    const QByteArray payload = "new content that is stored";
    ASSERT_TRUE(writeArchive(archive, {{"keep.txt", payload, kMtime + 10, 0, {}, true}}));
    const QByteArray good = archive + ".good";
    ASSERT_EQ(::link(archive.constData(), good.constData()), 0);
    // Corrupt the stored data: the CRC no longer matches.
    const QByteArray corrupt = archive + ".corrupt";
    ASSERT_TRUE(QFile::copy(QString::fromLocal8Bit(archive), QString::fromLocal8Bit(corrupt)));
    ASSERT_TRUE(patchFile(corrupt, "stored", "STORED"));
    // Cut inside the member data: the archive no longer opens.
    const QByteArray truncated = archive + ".truncated";
    ASSERT_TRUE(QFile::copy(QString::fromLocal8Bit(archive), QString::fromLocal8Bit(truncated)));
    ASSERT_EQ(::truncate(truncated.constData(), 60), 0);

    RestoreOutcome outcome = restoreArchive({corrupt, dest, {}}, sink, stop);
    EXPECT_EQ(outcome.restored, 0);
    ASSERT_EQ(sink.failures.size(), 1u);
    EXPECT_EQ(sink.failures[0].kind, MemberFailure::Kind::Library);
    EXPECT_EQ(sink.failures[0].code, ZIP_ER_CRC);

    outcome = restoreArchive({truncated, dest, {}}, sink, stop);
    EXPECT_FALSE(outcome.opened);
    EXPECT_FALSE(outcome.error.isEmpty());
    EXPECT_EQ(readWholeFile(target), "old content");
    EXPECT_EQ(mtimeOf(target), kMtime);
    EXPECT_FALSE(holdsTemporaryFiles(dest));

    sink.failures.clear();
    outcome = restoreArchive({good, dest, {}}, sink, stop);
    EXPECT_EQ(outcome.restored, 1);
    EXPECT_TRUE(sink.failures.empty());
    EXPECT_EQ(readWholeFile(target), payload);
    EXPECT_EQ(mtimeOf(target), kMtime + 10);
    const QByteArray trash = qgetenv("XDG_DATA_HOME") + "/Trash/files/keep.txt";
    EXPECT_EQ(readWholeFile(trash), "old content");
    EXPECT_FALSE(holdsTemporaryFiles(dest));
}

// Traditional and AES encryption: the right password restores; a wrong one or none leaves
// the existing file as it was. A password that worked is tried first for the next member.
TEST_F(RestoreTest, EncryptedMembersNeedTheRightPassword) {
    for (const int method : {int(ZIP_EM_TRAD_PKWARE), int(ZIP_EM_AES_256)}) {
        SCOPED_TRACE(method);
        TempTree::removeTree(dest);
        dest = tree.createFolder("dest");
        const QByteArray target = tree.createFileWith("dest/a.txt", "old");
        if (!writeArchive(archive, {{"a.txt", "secret a", 0, method, "pw"},
                                    {"b.txt", "secret b", 0, method, "pw"}})) {
            ADD_FAILURE() << "libzip cannot write encryption method " << method;
            continue;
        }
        sink = {};
        sink.passwords = {QByteArray("wrong"), QByteArray("wrong again")};
        RestoreOutcome outcome = restore(dest);
        EXPECT_EQ(outcome.restored, 0);
        EXPECT_EQ(readWholeFile(target), "old");
        EXPECT_FALSE(pathExists(dest + "/b.txt"));
        EXPECT_FALSE(holdsTemporaryFiles(dest));
        ASSERT_EQ(sink.failures.size(), 2u);
        for (const MemberFailure& f : sink.failures) {
            // A traditional key check lets one wrong password in 256 through; the CRC stops it.
            EXPECT_TRUE(f.code == ZIP_ER_WRONGPASSWD || f.code == ZIP_ER_CRC ||
                        f.code == ZIP_ER_NOPASSWD)
                << f.code;
        }

        sink = {};
        sink.passwords = {QByteArray("pw")};
        outcome = restore(dest);
        EXPECT_EQ(outcome.restored, 2);
        EXPECT_EQ(sink.asked, QList<QByteArray>{"a.txt"});
        EXPECT_EQ(readWholeFile(target), "secret a");
        EXPECT_EQ(readWholeFile(dest + "/b.txt"), "secret b");
    }
}

// Two members of one name: the first comes back, the second is reported as a duplicate.
TEST_F(RestoreTest, TwoMembersOfOneNameRestoreTheFirst) {
    ASSERT_TRUE(writeArchive(archive, {{"same-A.txt", "first"}, {"same-B.txt", "second"}}));
    ASSERT_TRUE(patchFile(archive, "same-B.txt", "same-A.txt", 2));
    const RestoreOutcome outcome = restore(dest);
    EXPECT_EQ(outcome.restored, 1);
    ASSERT_EQ(sink.failures.size(), 1u);
    EXPECT_EQ(sink.failures[0].kind, MemberFailure::Kind::DuplicateName);
    EXPECT_EQ(readWholeFile(dest + "/same-A.txt"), "first");
}

// A name of 4,000 bytes in one piece cannot be a file name here: it is reported and nothing
// is written; a long name made of short folders comes back (kept below the path limit so that
// the test can read it by path).
TEST_F(RestoreTest, NameOfFourThousandBytes) {
    const QByteArray flat = QByteArray(4000, 'n');
    QByteArray folders;
    while (folders.size() < 3000) folders += QByteArray(99, 'f') + '/';
    const QByteArray nested = folders + "end";
    ASSERT_TRUE(writeArchive(archive, {{flat, "flat"}, {nested, "nested"}}));
    const RestoreOutcome outcome = restore(dest);
    EXPECT_EQ(outcome.restored, 1);
    ASSERT_EQ(sink.failures.size(), 1u);
    EXPECT_EQ(sink.failures[0].member, flat);
    EXPECT_EQ(sink.failures[0].code, ENAMETOOLONG);
    EXPECT_EQ(readWholeFile(dest + '/' + nested), "nested");
    EXPECT_EQ(folderNames(dest).size(), 1u);
    EXPECT_FALSE(holdsTemporaryFiles(dest));
}

// A small member that expands past the free space fails with "disk full"; what was on the
// volume stays and no partial file is left.
TEST_F(RestoreTest, ZipBombFailsAndHarmsNothing) {
    const QByteArray volume = tree.path("small-volume");
    if (!mountPrivateTmpfs(volume)) GTEST_SKIP() << "cannot mount a private tmpfs here";
    const QByteArray kept = volume + "/kept.txt";
    ASSERT_TRUE(QFile(QString::fromLocal8Bit(kept)).open(QIODevice::WriteOnly));
    ASSERT_TRUE(
        writeArchive(archive, {{"kept.txt", QByteArray(64 << 20, 'x')}, {"small.txt", "small"}}));
    ASSERT_LT(QFileInfo(QString::fromLocal8Bit(archive)).size(), 1 << 20);
    const RestoreOutcome outcome = restore(volume);
    EXPECT_EQ(outcome.restored, 1);
    ASSERT_EQ(sink.failures.size(), 1u);
    EXPECT_EQ(sink.failures[0].kind, MemberFailure::Kind::System);
    EXPECT_EQ(sink.failures[0].code, ENOSPC);
    EXPECT_TRUE(pathExists(kept));
    EXPECT_EQ(readWholeFile(kept), QByteArray());
    EXPECT_EQ(readWholeFile(volume + "/small.txt"), "small");
    EXPECT_FALSE(holdsTemporaryFiles(volume));
    unmountPrivate(volume);
}

// A member whose data inflates beyond the size its header states is cut off and refused.
TEST_F(RestoreTest, MemberLongerThanItsHeaderSaysIsRefused) {
    ASSERT_TRUE(writeArchive(archive, {{"liar.txt", QByteArray(5000, 'y')}}));
    // 5000 = 0x1388 in the header sizes; claim 0x0388 (904) instead.
    const QByteArray from("\x88\x13\x00\x00", 4), to("\x88\x03\x00\x00", 4);
    ASSERT_TRUE(patchFile(archive, from, to, 2));
    const RestoreOutcome outcome = restore(dest);
    EXPECT_EQ(outcome.restored, 0);
    EXPECT_EQ(sink.failures.size(), 1u);
    EXPECT_FALSE(pathExists(dest + "/liar.txt"));
    EXPECT_FALSE(holdsTemporaryFiles(dest));
}

// Archived, restored and archived again within the minute: the same archive, whose member of
// that name is then the newer one, and the file is gone again.
TEST_F(RestoreTest, ArchiveRestoreArchiveWithinTheMinuteReplacesTheMember) {
    const QByteArray path = tree.createFileWith("work/report.doc", "version 1", kMtime);
    DialogJobSink boxes;
    const ArchiveOptions options{QStringLiteral("Duplicates"), {}, kStart};
    ASSERT_EQ(archiveFiles({path}, options, boxes, stop).archived, 1);
    ASSERT_EQ(restore("/").restored, 1);
    ASSERT_EQ(readWholeFile(path), "version 1");
    tree.createFileWith("work/report.doc", "version 2", kMtime + 60);
    const ArchiveOutcome again = archiveFiles({path}, options, boxes, stop);
    EXPECT_EQ(again.archived, 1);
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join('\n').toStdString();
    EXPECT_FALSE(pathExists(path));
    EXPECT_EQ(folderNames(archiveFolder).size(), 1u);
    EXPECT_EQ(readZip(archive).names(), std::vector<QByteArray>{path.mid(1)});
    EXPECT_EQ(zipMemberData(archive, path.mid(1)), "version 2");
    ASSERT_EQ(restore("/").restored, 1);
    EXPECT_EQ(readWholeFile(path), "version 2");
    EXPECT_EQ(mtimeOf(path), kMtime + 60);
}

// A link in the file's own place is replaced as a link (into the trash); the file it points
// to outside the destination is never written.
TEST_F(RestoreTest, LinkInTheFilesPlaceIsReplacedNotFollowed) {
    const QByteArray outside = tree.createFileWith("outside/target.txt", "outside");
    tree.createSymlink("dest/link.txt", outside);
    ASSERT_TRUE(writeArchive(archive, {{"link.txt", "restored"}}));
    EXPECT_EQ(restore(dest).restored, 1);
    EXPECT_TRUE(sink.failures.empty());
    EXPECT_EQ(readWholeFile(outside), "outside");
    struct stat st;
    ASSERT_EQ(::lstat((dest + "/link.txt").constData(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(readWholeFile(dest + "/link.txt"), "restored");
}
