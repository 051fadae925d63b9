#include "RemovalTestSupport.h"
#include "core/DialogJobSink.h"
#include "platform/FolderHandle.h"
#include "platform/ScriptedDialogs.h"
#include "removal/TreeRemoval.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>

using namespace vastel;
using namespace vastel::test;

// A file past 4 GiB (sparse, so it costs no disk) is counted with its whole size, archived as
// a ZIP64 member that unzip verifies, and only then deleted.
TEST(LargeFile, CountedArchivedAndRestorable) {
    TempTree tree;
    ScriptedDialogs script;
    const qint64 size = (qint64(4) << 30) + 123457;
    const QByteArray big = tree.createFolder("F") + "/big.bin";
    const int fd = ::open(big.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "end", 3, size - 3), 3);
    ::close(fd);
    tree.createFileWith("F/small.txt", "small");

    TreeRemovalOptions walk;
    walk.mode = TreeRemoval::Mode::Zip;
    walk.archivePath = tree.path("big.zip");
    DialogJobSink boxes;
    StopToken stop;
    TreeRemoval removal(walk, boxes, stop);
    const FolderHandle parent = FolderHandle::open(tree.root());
    const TreeRemoval::Result result = removal.deltree(parent, tree.root(), "F");
    EXPECT_TRUE(script.messages().isEmpty()) << script.messages().join('\n').toStdString();
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(result.bytes, size + 5);
    EXPECT_FALSE(pathExists(big));

    const ZipContent zip = readZip(walk.archivePath);
    ASSERT_TRUE(zip.opened);
    ASSERT_EQ(zip.members.size(), 2u);
    const auto bigMember =
        std::find_if(zip.members.begin(), zip.members.end(),
                     [](const ZipMember& m) { return m.name.endsWith("big.bin"); });
    ASSERT_NE(bigMember, zip.members.end());
    EXPECT_EQ(bigMember->size, size);
    EXPECT_TRUE(unzipTestPasses(walk.archivePath));
}
