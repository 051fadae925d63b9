#include "RemovalTestSupport.h"
#include "core/DialogJobSink.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"
#include "platform/Trash.h"
#include "removal/ReviewRemoval.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vastel;
using namespace vastel::test;

namespace {

class ReviewRemovalTest : public ::testing::Test {
  protected:
    void TearDown() override { setTrashTopFinder(nullptr); }
    static QString notDeleted(const QByteArray& path) {
        return QStringLiteral("Couldn't delete file - ") + displayPath(path);
    }
    TempTree tree;
    ScriptedDialogs script;
    DialogJobSink boxes;  // problems shown as the review shows them
};

}  // namespace

// The removal acts on the exact bytes: names with tabs, newlines and bytes that are not
// UTF-8 are removed, and only they, also when another name looks the same on screen.
TEST_F(ReviewRemovalTest, DeletesExactlyTheGivenBytes) {
    const QByteArray tabbed = tree.createFileWith("tab\tname", "1");
    const QByteArray multiLine = tree.createFileWith("line\nbreak", "2");
    const QByteArray invalid = tree.createFileWith("bad\xff", "3");
    const QByteArray twin = tree.createFileWith("bad\xfe", "4");  // shown as "bad\uFFFD" too
    const QByteArray plain = tree.createFileWith("tab name", "5");
    ASSERT_EQ(displayPath(invalid), displayPath(twin));

    std::vector<int> steps;
    struct : DialogJobSink {
        std::vector<int>* steps;
        void item(qint64 i, const QByteArray&) override { steps->push_back(int(i)); }
    } sink;
    sink.steps = &steps;
    EXPECT_EQ(deleteFiles({tabbed, multiLine, invalid}, sink), 3);
    EXPECT_EQ(steps, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_EQ(folderNames(tree.root()), (std::vector<QByteArray>{"bad\xfe", "tab name"}));
    EXPECT_EQ(readWholeFile(twin), "4");
    EXPECT_EQ(readWholeFile(plain), "5");
}

// What became a folder or a link since it was marked is left and reported; links never lead
// to their targets; the loop goes on.
TEST_F(ReviewRemovalTest, PathsThatAreNoLongerRegularFilesStay) {
    const QByteArray target = tree.createFileWith("target/precious", "precious");
    const QByteArray folder = tree.createFolder("now a folder");
    const QByteArray link = tree.createSymlink("now a link", target);
    const QByteArray folderLink = tree.createSymlink("now a folder link", tree.path("target"));
    const QByteArray missing = tree.path("gone");
    const QByteArray last = tree.createFileWith("last", "x");
    EXPECT_EQ(deleteFiles({folder, link, folderLink, missing, last}, boxes), 1);
    EXPECT_EQ(script.messages(), (QStringList{notDeleted(folder), notDeleted(link),
                                              notDeleted(folderLink), notDeleted(missing)}));
    EXPECT_TRUE(pathExists(folder));
    EXPECT_TRUE(pathExists(link));
    EXPECT_TRUE(pathExists(folderLink));
    EXPECT_EQ(readWholeFile(target), "precious");
    EXPECT_FALSE(pathExists(last));
}

TEST_F(ReviewRemovalTest, RecyclesIntoTheTrashAndLeavesLinks) {
    const QByteArray target = tree.createFileWith("target", "target");
    const QByteArray file = tree.createFileWith("odd\tname\xff", "data");
    const QByteArray link = tree.createSymlink("link", target);
    EXPECT_EQ(recycleFiles({file, link}, boxes), 1);
    EXPECT_EQ(script.messages(), QStringList{notDeleted(link)});
    EXPECT_FALSE(pathExists(file));
    EXPECT_EQ(readWholeFile(qgetenv("XDG_DATA_HOME") + "/Trash/files/odd\tname\xff"), "data");
    EXPECT_TRUE(pathExists(link));
}

// The first failure of the trash ends the loop; what was not visited stays.
TEST_F(ReviewRemovalTest, FirstTrashFailureEndsTheLoop) {
    const QByteArray volume = tree.createFolder("volume");
    // The volume's own trash cannot be made: a file stands in its place.
    tree.createFileWith("volume/.Trash-" + QByteArray::number(::getuid()), "blocked");
    setTrashTopFinder([volume](const QByteArray& folder, dev_t) {
        return folder.startsWith(volume) ? volume : QByteArray();
    });
    const QByteArray first = tree.createFileWith("first", "1");
    const QByteArray failing = tree.createFileWith("volume/second", "2");
    const QByteArray third = tree.createFileWith("third", "3");
    EXPECT_EQ(recycleFiles({first, failing, third}, boxes), 1);
    EXPECT_EQ(script.messages(),
              QStringList{QStringLiteral(
                  "An error occurred sending files to the recycle bin.  The bin may be full.")});
    EXPECT_FALSE(pathExists(first));
    EXPECT_TRUE(pathExists(failing));
    EXPECT_TRUE(pathExists(third));
}
