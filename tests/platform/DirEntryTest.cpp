#include "platform/DirEntry.h"

#include "platform/PackedStamp.h"
#include "support/TempTree.h"

#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vastel;
using vastel::test::TempTree;

namespace {

DirEntry statOrFail(const QByteArray& path) {
    DirEntry e;
    EXPECT_TRUE(statPath(path, e)) << path.constData();
    return e;
}

}  // namespace

TEST(DirEntry, AttributesOfRealEntries) {
    TempTree tree;
    const QByteArray plain = tree.createFile("plain.txt", 10);
    const QByteArray hidden = tree.createFile(".hidden", 1);
    const QByteArray readOnly = tree.createFile("locked.txt", 1);
    ASSERT_EQ(::chmod(readOnly.constData(), 0444), 0);
    const QByteArray folder = tree.createFolder(".config");
    const QByteArray fifo = tree.path("pipe");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);

    struct Case {
        QByteArray path;
        QByteArray name;
        quint32 attributes;
    };
    const Case cases[] = {
        {plain, "plain.txt", 0},
        {hidden, ".hidden", faHidden},
        {readOnly, "locked.txt", faReadOnly},
        {folder, ".config", faHidden | faDirectory},
        {fifo, "pipe", faSysFile},
        {"/dev/null", "null", faSysFile},
    };
    for (const Case& c : cases) {
        const DirEntry e = statOrFail(c.path);
        EXPECT_EQ(e.name, c.name);
        EXPECT_EQ(e.attributes, c.attributes) << c.path.constData();
    }
    // "." and ".." are not hidden names; a trailing slash does not hide the name.
    EXPECT_EQ(attributesOf(".", S_IFDIR | 0755), quint32(faDirectory));
    EXPECT_EQ(attributesOf("..", S_IFDIR | 0755), quint32(faDirectory));
    EXPECT_EQ(statOrFail(folder + "/").name, ".config");
    EXPECT_EQ(statOrFail("/").name, "/");
}

TEST(DirEntry, SymlinkIsNotFollowed) {
    TempTree tree;
    tree.createFile("target/big.bin", 4096);
    const QByteArray link = tree.createSymlink("link", "target");
    const DirEntry e = statOrFail(link);
    EXPECT_TRUE(e.isSymlink());
    EXPECT_FALSE(e.isDirectory());
    EXPECT_EQ(e.attributes & faDirectory, 0u);
    EXPECT_EQ(e.size, 6);  // the link's own size: the length of "target"

    const QByteArray dangling = tree.createSymlink("dangling", "nowhere");
    EXPECT_TRUE(statOrFail(dangling).isSymlink());
}

TEST(DirEntry, SizeOfFiveGibibyteSparseFile) {
    TempTree tree;
    const QByteArray path = tree.createFile("sparse.bin", 0);
    const qint64 size = 5LL * 1024 * 1024 * 1024 + 3;
    ASSERT_EQ(::truncate(path.constData(), size), 0);
    const DirEntry e = statOrFail(path);
    EXPECT_EQ(e.size, size);
    EXPECT_TRUE(e.isRegular());
}

TEST(DirEntry, StampsOfWriteAccessAndCreation) {
    TempTree tree;
    const time_t mtime = 1700000000;  // November 2023
    const time_t atime = 1600000000;  // September 2020
    const time_t before1980 = 300000000;
    const time_t justAfter1980 = 315700000;
    const QByteArray path = tree.createFile("dated.txt", 1, mtime, atime);
    const DirEntry e = statOrFail(path);
    EXPECT_EQ(e.lastWrite, packDosStamp(mtime));
    EXPECT_EQ(e.lastAccess, packDosStamp(atime));
    EXPECT_NE(e.lastWrite, 0u);

    struct statx sx;
    ASSERT_EQ(::statx(AT_FDCWD, path.constData(), AT_SYMLINK_NOFOLLOW, STATX_BTIME, &sx), 0);
    if (sx.stx_mask & STATX_BTIME)
        EXPECT_EQ(e.creation, packDosStamp(time_t(sx.stx_btime.tv_sec)));
    else
        EXPECT_EQ(e.creation, 0u);

    const QByteArray old = tree.createFile("old.txt", 1, before1980, before1980);
    EXPECT_EQ(statOrFail(old).lastWrite, 0u);
    EXPECT_EQ(statOrFail(old).lastAccess, 0u);
    const QByteArray young = tree.createFile("young.txt", 1, justAfter1980, justAfter1980);
    EXPECT_EQ(statOrFail(young).lastWrite, packDosStamp(justAfter1980));
}

TEST(DirEntry, ListDirectoryInListingOrderWithExactNames) {
    TempTree tree;
    const QByteArrayList names = {"a.txt", ".dot", "tab\tname", "new\nline", "bad\xff\xfe", "sub"};
    for (const QByteArray& n : names)
        n == "sub" ? (void)tree.createFolder(n) : (void)tree.createFile(n, n.size());

    QByteArrayList expected;  // what readdir itself gives, less "." and ".."
    DIR* dir = ::opendir(tree.root().constData());
    ASSERT_NE(dir, nullptr);
    while (const dirent* e = ::readdir(dir))
        if (qstrcmp(e->d_name, ".") != 0 && qstrcmp(e->d_name, "..") != 0) expected << e->d_name;
    ::closedir(dir);

    bool ok = false;
    const std::vector<DirEntry> entries = listDirectory(tree.root(), &ok);
    EXPECT_TRUE(ok);
    QByteArrayList listed;
    for (const DirEntry& e : entries) {
        listed << e.name;
        if (e.name != "sub") {
            EXPECT_EQ(e.size, e.name.size()) << e.name.constData();
        }
    }
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(listed.size(), names.size());

    listDirectory(tree.path("missing"), &ok);
    EXPECT_FALSE(ok);
    listDirectory(tree.path("a.txt"), &ok);
    EXPECT_FALSE(ok);
    // The temporary folder's clean-up goes through QString and cannot name invalid UTF-8.
    ::unlink(tree.path("bad\xff\xfe").constData());
}
