#include "RemovalTestSupport.h"
#include "platform/Trash.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

using namespace vastel;
using namespace vastel::test;

namespace {

// Points XDG_DATA_HOME somewhere for one test and puts it back.
class DataHome {
  public:
    explicit DataHome(const QByteArray& path) : old_(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", path);
    }
    ~DataHome() { qputenv("XDG_DATA_HOME", old_); }

  private:
    QByteArray old_;
};

// Runs a test from another current folder.
class CurrentFolder {
  public:
    explicit CurrentFolder(const QByteArray& path) {
        char* here = ::get_current_dir_name();
        old_ = here;
        ::free(here);
        EXPECT_EQ(::chdir(path.constData()), 0);
    }
    ~CurrentFolder() { (void)::chdir(old_.constData()); }

  private:
    QByteArray old_;
};

QByteArray infoValue(const QByteArray& info, const QByteArray& key) {
    for (const QByteArray& line : info.split('\n'))
        if (line.startsWith(key + '=')) return line.mid(key.size() + 1);
    return {};
}

class TrashTest : public ::testing::Test {
  protected:
    void TearDown() override { setTrashTopFinder(nullptr); }
    TempTree tree;
};

}  // namespace

// The home trash is made when the data folder does not exist yet, and the result does not
// depend on the process's current folder (the fault of the toolkit's own trash function).
TEST_F(TrashTest, MissingDataFolderIsMadeAndCurrentFolderIsNotUsed) {
    const QByteArray data = tree.path("no/such/data");
    const DataHome home(data);
    const QByteArray elsewhere = tree.createFolder("elsewhere");
    const CurrentFolder cwd(elsewhere);
    const QByteArray file = tree.createFileWith("docs/report.txt", "report");

    TrashedFile trashed;
    ASSERT_TRUE(moveToTrash(file, &trashed));
    EXPECT_EQ(trashed.trashFolder, data + "/Trash");
    EXPECT_EQ(trashed.filesPath, data + "/Trash/files/report.txt");
    EXPECT_EQ(trashed.infoPath, data + "/Trash/info/report.txt.trashinfo");
    EXPECT_FALSE(pathExists(file));
    EXPECT_EQ(readWholeFile(trashed.filesPath), "report");
    const QByteArray info = readWholeFile(trashed.infoPath);
    EXPECT_TRUE(info.startsWith("[Trash Info]\n"));
    EXPECT_EQ(infoValue(info, "Path"), file);  // absolute for the home trash
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d$"))
                    .match(QString::fromLatin1(infoValue(info, "DeletionDate")))
                    .hasMatch());
    EXPECT_TRUE(folderNames(elsewhere).empty());
    struct stat st;
    ASSERT_EQ(::stat((data + "/Trash").constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

// Names that collide get unique names; Path= keeps every byte, percent-encoded.
TEST_F(TrashTest, CollidingAndUnusualNamesKeepTheirPaths) {
    const DataHome home(tree.path("data"));
    const QByteArray odd = "tab\there\nnew line \xff\xfe.txt";
    const QByteArray first = tree.createFileWith("a/" + odd, "first");
    const QByteArray second = tree.createFileWith("b/" + odd, "second");

    TrashedFile one, two;
    ASSERT_TRUE(moveToTrash(first, &one));
    ASSERT_TRUE(moveToTrash(second, &two));
    EXPECT_NE(one.filesPath, two.filesPath);
    EXPECT_EQ(two.filesPath, tree.path("data/Trash/files/tab\there\nnew line \xff\xfe.2.txt"));
    EXPECT_EQ(readWholeFile(one.filesPath), "first");
    EXPECT_EQ(readWholeFile(two.filesPath), "second");
    const QByteArray path = infoValue(readWholeFile(two.infoPath), "Path");
    EXPECT_FALSE(path.contains('\t'));
    EXPECT_EQ(QByteArray::fromPercentEncoding(path), second);
}

// A link goes into the trash as the link; what it points to stays.
TEST_F(TrashTest, LinkIsTrashedAsLink) {
    const DataHome home(tree.path("data"));
    const QByteArray target = tree.createFileWith("target.txt", "keep me");
    const QByteArray link = tree.createSymlink("link.txt", target);
    TrashedFile trashed;
    ASSERT_TRUE(moveToTrash(link, &trashed));
    struct stat st;
    ASSERT_EQ(::lstat(trashed.filesPath.constData(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(readWholeFile(target), "keep me");
}

TEST_F(TrashTest, FailuresLeaveNothingBehind) {
    const DataHome home(tree.path("data"));
    EXPECT_FALSE(moveToTrash(tree.path("missing.txt")));
    EXPECT_FALSE(moveToTrash("relative.txt"));
    // The home trash cannot be made: a file stands where its folder would be.
    const QByteArray file = tree.createFileWith("keep.txt", "keep");
    tree.createFileWith("blocked/Trash", "not a folder");
    const DataHome blocked(tree.path("blocked"));
    EXPECT_FALSE(moveToTrash(file));
    EXPECT_EQ(readWholeFile(file), "keep");
}

// Through the seam: a folder standing for a volume of its own.
TEST_F(TrashTest, VolumeTrashThroughTheSeam) {
    const DataHome home(tree.path("data"));
    const QByteArray volume = tree.createFolder("volume");
    setTrashTopFinder([volume](const QByteArray& folder, dev_t) {
        return folder.startsWith(volume) ? volume : QByteArray();
    });
    const QByteArray uid = QByteArray::number(::getuid());

    // Without a shared .Trash the user's own .Trash-<uid> is made; Path= is relative.
    const QByteArray file = tree.createFileWith("volume/sub/one.txt", "one");
    TrashedFile trashed;
    ASSERT_TRUE(moveToTrash(file, &trashed));
    EXPECT_EQ(trashed.trashFolder, volume + "/.Trash-" + uid);
    EXPECT_EQ(infoValue(readWholeFile(trashed.infoPath), "Path"), "sub/one.txt");
    EXPECT_FALSE(pathExists(tree.path("data/Trash/files/one.txt")));

    // A shared .Trash that is a link is never used.
    const QByteArray elsewhere = tree.createFolder("elsewhere");
    ASSERT_EQ(::chmod(elsewhere.constData(), 01777), 0);
    tree.createSymlink("volume/.Trash", elsewhere);
    ASSERT_TRUE(moveToTrash(tree.createFileWith("volume/two.txt", "two"), &trashed));
    EXPECT_EQ(trashed.trashFolder, volume + "/.Trash-" + uid);
    EXPECT_TRUE(folderNames(elsewhere).empty());

    // A sticky shared .Trash gets a folder per user.
    ASSERT_EQ(::unlink((volume + "/.Trash").constData()), 0);
    tree.createFolder("volume/.Trash");
    ASSERT_EQ(::chmod((volume + "/.Trash").constData(), 01777), 0);
    ASSERT_TRUE(moveToTrash(tree.createFileWith("volume/three.txt", "three"), &trashed));
    EXPECT_EQ(trashed.trashFolder, volume + "/.Trash/" + uid);
    EXPECT_EQ(readWholeFile(volume + "/.Trash/" + uid + "/files/three.txt"), "three");
}

TEST_F(TrashTest, VolumeTrashThatIsNotOursIsRefused) {
    const DataHome home(tree.path("data"));
    const QByteArray volume = tree.createFolder("volume");
    setTrashTopFinder([volume](const QByteArray&, dev_t) { return volume; });
    const QByteArray file = tree.createFileWith("volume/file.txt", "stay");
    const QByteArray own = tree.createFolder("volume/.Trash-" + QByteArray::number(::getuid()));
    ASSERT_EQ(::chown(own.constData(), 65534, 65534), 0);
    EXPECT_FALSE(moveToTrash(file));
    EXPECT_EQ(readWholeFile(file), "stay");
    EXPECT_TRUE(folderNames(own).empty());
}

// A real second file system: the file goes to that volume's trash, never copied to the home.
TEST_F(TrashTest, FileOnAnotherFileSystemUsesThatVolumesTrash) {
    const DataHome home(tree.path("data"));
    const QByteArray mount = tree.path("mnt");
    if (!mountPrivateTmpfs(mount)) GTEST_SKIP() << "cannot mount a tmpfs here";
    const QByteArray file = mount + "/sub/big.bin";
    ASSERT_EQ(::mkdir((mount + "/sub").constData(), 0755), 0);
    {
        FILE* f = std::fopen(file.constData(), "w");
        ASSERT_TRUE(f);
        std::fputs("on tmpfs", f);
        std::fclose(f);
    }
    TrashedFile trashed;
    ASSERT_TRUE(moveToTrash(file, &trashed));
    EXPECT_EQ(trashed.trashFolder, mount + "/.Trash-" + QByteArray::number(::getuid()));
    EXPECT_EQ(readWholeFile(trashed.filesPath), "on tmpfs");
    EXPECT_EQ(infoValue(readWholeFile(trashed.infoPath), "Path"), "sub/big.bin");
    EXPECT_FALSE(pathExists(tree.path("data/Trash/files/big.bin")));

    // Told to use the home trash on the other file system, the rename fails: the file is
    // never copied, and the .trashinfo written first is taken back.
    const QByteArray across = mount + "/across.txt";
    {
        FILE* f = std::fopen(across.constData(), "w");
        ASSERT_TRUE(f);
        std::fclose(f);
    }
    setTrashTopFinder([](const QByteArray&, dev_t) { return QByteArray(); });
    EXPECT_FALSE(moveToTrash(across));
    EXPECT_EQ(errno, EXDEV);
    EXPECT_TRUE(pathExists(across));
    EXPECT_TRUE(folderNames(tree.path("data/Trash/files")).empty());
    EXPECT_TRUE(folderNames(tree.path("data/Trash/info")).empty());
    setTrashTopFinder(nullptr);

    // A volume whose trash cannot be made keeps the file where it is.
    const QByteArray stuck = mount + "/stuck.txt";
    {
        FILE* f = std::fopen(stuck.constData(), "w");
        ASSERT_TRUE(f);
        std::fclose(f);
    }
    TempTree::removeTree(trashed.trashFolder);
    FILE* block = std::fopen(trashed.trashFolder.constData(), "w");
    ASSERT_TRUE(block);
    std::fclose(block);
    EXPECT_FALSE(moveToTrash(stuck));
    EXPECT_TRUE(pathExists(stuck));
    EXPECT_FALSE(pathExists(tree.path("data/Trash/files/stuck.txt")));
    unmountPrivate(mount);
}
