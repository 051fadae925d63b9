#include "../removal/RemovalTestSupport.h"
#include "core/DialogJobSink.h"
#include "platform/ScriptedDialogs.h"
#include "removal/ArchiveFolder.h"
#include "removal/ReviewRemoval.h"
#include "restore/ArchiveRestore.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>

using namespace vastel;
using namespace vastel::test;

// A sparse file past 4 GiB comes back with its size, its last bytes and its time, and stays
// sparse: its runs of zeros become holes again.
TEST(LargeRestore, SparseFilePastFourGiB) {
    TempTree tree;
    ScriptedDialogs script;
    const qint64 size = (qint64(4) << 30) + 123457;
    const QByteArray big = tree.createFolder("F") + "/big.bin";
    const int fd = ::open(big.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0640);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "end", 3, size - 3), 3);
    ::close(fd);
    const time_t mtime = 1600000000;
    TempTree::setTimes(big, mtime, mtime);

    archiveFolder = tree.createFolder("archives");
    DialogJobSink boxes;
    StopToken stop;
    const ArchiveOutcome archived = archiveFiles(
        {big}, {QStringLiteral("Duplicates"), {}, QDateTime::currentDateTime()}, boxes, stop);
    ASSERT_EQ(archived.archived, 1) << script.messages().join('\n').toStdString();
    const std::vector<QByteArray> archives = folderNames(archiveFolder);
    ASSERT_EQ(archives.size(), 1u);

    struct Sink : RestoreSink {
        int failures = 0;
        void memberFailed(const MemberFailure&) override { ++failures; }
    } sink;
    const RestoreOutcome outcome =
        restoreArchive({archiveFolder + '/' + archives[0], "/", {}}, sink, stop);
    EXPECT_EQ(outcome.restored, 1);
    EXPECT_EQ(sink.failures, 0);
    struct stat st;
    ASSERT_EQ(::stat(big.constData(), &st), 0);
    EXPECT_EQ(qint64(st.st_size), size);
    EXPECT_EQ(st.st_mtime, mtime);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_LT(qint64(st.st_blocks) * 512, qint64(16) << 20);
    char tail[3] = {};
    const int in = ::open(big.constData(), O_RDONLY);
    ASSERT_EQ(::pread(in, tail, 3, size - 3), 3);
    ::close(in);
    EXPECT_EQ(QByteArray(tail, 3), "end");
}
