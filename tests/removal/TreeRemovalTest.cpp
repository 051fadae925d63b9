#include "RemovalTestSupport.h"
#include "core/DialogJobSink.h"
#include "platform/FileRemoval.h"
#include "platform/NativePath.h"
#include "platform/ScriptedDialogs.h"
#include "removal/TreeRemoval.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <functional>

using namespace vastel;
using namespace vastel::test;

namespace {

class TreeRemovalTest : public ::testing::Test {
  protected:
    TreeRemoval::Result run(TreeRemoval::Mode mode, const QByteArray& relative = "F") {
        walk.mode = mode;
        TreeRemoval removal(walk, sink, abort);
        const FolderHandle parent = FolderHandle::open(tree.root());
        return removal.deltree(parent, tree.root(), relative);
    }
    // Problems and questions go to the dialogs as the window shows them; a hook per file.
    struct Sink : DialogJobSink {
        std::function<void(qint64 count)> onFile;
        void item(qint64 count, const QByteArray&) override {
            if (onFile) onFile(count);
        }
    };
    static QString question(const QByteArray& path, const char* what) {
        return displayPath(path) + QLatin1String(what) +
               QStringLiteral("Delete this file and continue deleting the remaining files? ");
    }
    TempTree tree;
    ScriptedDialogs script;
    TreeRemovalOptions walk;
    Sink sink;
    StopToken abort;
};

}  // namespace

// Links inside the tree are removed as links; the folders and files they point to are not
// touched, and neither are the links' own targets' contents.
TEST_F(TreeRemovalTest, LinksAreRemovedNeverFollowed) {
    const QByteArray outsideFile = tree.createFileWith("outside/keep.txt", "keep");
    tree.createFileWith("outside/deeper/also.txt", "also");
    tree.createFileWith("F/sub/a.txt", QByteArray(100, 'a'));
    tree.createSymlink("F/to-folder", tree.path("outside"));
    tree.createSymlink("F/sub/to-file", outsideFile);
    tree.createSymlink("F/dangling", tree.path("nowhere"));
    const TreeRemoval::Result result = run(TreeRemoval::Mode::Delete);
    EXPECT_TRUE(result.complete);
    EXPECT_EQ(result.count, 4);
    EXPECT_FALSE(pathExists(tree.path("F")));
    EXPECT_EQ(readWholeFile(outsideFile), "keep");
    EXPECT_EQ(readWholeFile(tree.path("outside/deeper/also.txt")), "also");
    EXPECT_TRUE(script.questions().isEmpty());
}

TEST_F(TreeRemovalTest, AttributeQuestionsClearOrStop) {
    const QByteArray hiddenReadOnly = tree.createFileWith("F/.hidden", "h");
    ASSERT_EQ(::chmod(hiddenReadOnly.constData(), 0444), 0);
    script.answerQuestion(Answer::Yes);
    script.answerQuestion(Answer::Yes);
    EXPECT_EQ(run(TreeRemoval::Mode::Delete).count, 1);
    EXPECT_EQ(script.questions(), (QStringList{question(hiddenReadOnly, " is read-only, "),
                                               question(hiddenReadOnly, " is hidden, ")}));
    EXPECT_FALSE(pathExists(tree.path("F")));
}

// Declining stops the whole walk: that file stays, nothing more is asked or removed.
TEST_F(TreeRemovalTest, DecliningStopsTheWalk) {
    const QByteArray readOnly = tree.createFileWith("F/a/readonly", "r");
    ASSERT_EQ(::chmod(readOnly.constData(), 0444), 0);
    tree.createFileWith("F/b/plain", "p");
    tree.createFileWith("F/c/plain", "p");
    script.answerQuestion(Answer::No);
    const TreeRemoval::Result result = run(TreeRemoval::Mode::Delete);
    EXPECT_FALSE(result.complete);
    EXPECT_TRUE(abort);
    EXPECT_EQ(script.questions(), QStringList{question(readOnly, " is read-only, ")});
    EXPECT_TRUE(pathExists(readOnly));
    struct stat st;
    ASSERT_EQ(::stat(readOnly.constData(), &st), 0);
    EXPECT_FALSE(st.st_mode & S_IWUSR);
}

TEST_F(TreeRemovalTest, SpecialFilesAreAskedAboutAsSystemFiles) {
    tree.createFolder("F");
    const QByteArray fifo = tree.path("F/pipe");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    script.answerQuestion(Answer::Yes);
    run(TreeRemoval::Mode::Delete);
    EXPECT_EQ(script.questions(), QStringList{question(fifo, " is a system file, ")});
    EXPECT_FALSE(pathExists(tree.path("F")));
}

// Zipping without deleting asks nothing and leaves the tree; links cannot be zipped.
TEST_F(TreeRemovalTest, ZipWithoutDeletingKeepsTheTree) {
    const QByteArray hidden = tree.createFileWith("F/.hidden", "h");
    const QByteArray file = tree.createFileWith("F/sub/file", "f");
    const QByteArray link = tree.createSymlink("F/link", file);
    walk.deleteAfterZip = false;
    walk.archivePath = tree.path("tree.zip");
    const TreeRemoval::Result result = run(TreeRemoval::Mode::Zip);
    EXPECT_EQ(result.count, 3);
    EXPECT_TRUE(script.questions().isEmpty());
    EXPECT_EQ(script.messages(),
              QStringList{QStringLiteral("Couldn't zip up file - ") + displayPath(link)});
    std::vector<QByteArray> names = readZip(walk.archivePath).names();
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<QByteArray>{hidden.mid(1), file.mid(1)}));
    EXPECT_TRUE(pathExists(hidden));
    EXPECT_TRUE(pathExists(file));
}

TEST_F(TreeRemovalTest, AbortStopsAtTheNextStep) {
    for (int i = 0; i < 5; ++i) tree.createFileWith("F/f" + QByteArray::number(i), "x");
    sink.onFile = [&](qint64 count) {
        if (count == 2) abort.request();
    };
    const TreeRemoval::Result result = run(TreeRemoval::Mode::Delete);
    EXPECT_FALSE(result.complete);
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(folderNames(tree.path("F")).size(), 3u);
}

// Another file system mounted inside the tree is a drive of its own and is not entered.
TEST_F(TreeRemovalTest, MountInsideTheTreeIsNotEntered) {
    tree.createFileWith("F/mine", "m");
    const QByteArray mount = tree.createFolder("F/mnt");
    if (!mountPrivateTmpfs(mount)) GTEST_SKIP() << "cannot mount a tmpfs here";
    FILE* f = std::fopen((mount + "/theirs").constData(), "w");
    ASSERT_TRUE(f);
    std::fclose(f);
    const TreeRemoval::Result result = run(TreeRemoval::Mode::Delete);
    EXPECT_EQ(result.count, 1);
    EXPECT_TRUE(pathExists(mount + "/theirs"));
    EXPECT_FALSE(pathExists(tree.path("F/mine")));
    unmountPrivate(mount);
}

// The folder itself being a link: nothing is walked.
TEST_F(TreeRemovalTest, FolderThatIsALinkIsNotWalked) {
    tree.createFileWith("real/file", "f");
    tree.createSymlink("F", tree.path("real"));
    EXPECT_EQ(run(TreeRemoval::Mode::Delete).count, 0);
    EXPECT_EQ(readWholeFile(tree.path("real/file")), "f");
}
