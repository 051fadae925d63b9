#include "RemovalTestSupport.h"
#include "platform/FileRemoval.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vastel;
using namespace vastel::test;

namespace {

struct Case {
    const char* name;
    RemoveResult expected;
    bool gone;
};

class RemoveRegularFileTest : public ::testing::TestWithParam<Case> {
  protected:
    TempTree tree;
    QByteArray make(const char* kind) {
        const QByteArray k(kind);
        if (k == "file") return tree.createFileWith("x/file", "data");
        if (k == "folder") return tree.createFolder("x/folder");
        if (k == "link to file") {
            tree.createFileWith("target", "target");
            return tree.createSymlink("x/link", tree.path("target"));
        }
        if (k == "link to folder") {
            tree.createFileWith("dir/inside", "inside");
            return tree.createSymlink("x/dirlink", tree.path("dir"));
        }
        if (k == "fifo") {
            tree.createFolder("x");
            const QByteArray p = tree.path("x/fifo");
            EXPECT_EQ(::mkfifo(p.constData(), 0644), 0);
            return p;
        }
        if (k == "missing") return tree.path("x/missing");
        return tree.createFolder("x") + "/";  // a trailing "/" names no file
    }
};

}  // namespace

// Only a regular file at exactly the path is removed; links go nowhere near their targets.
TEST_P(RemoveRegularFileTest, RemovesOnlyRegularFiles) {
    const Case c = GetParam();
    const QByteArray path = make(c.name);
    EXPECT_EQ(removeRegularFile(path), c.expected);
    EXPECT_EQ(!pathExists(path), c.gone);
    if (pathExists(tree.path("target"))) {
        EXPECT_EQ(readWholeFile(tree.path("target")), "target");
    }
    if (pathExists(tree.path("dir"))) {
        EXPECT_EQ(readWholeFile(tree.path("dir/inside")), "inside");
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, RemoveRegularFileTest,
                         ::testing::Values(Case{"file", RemoveResult::Removed, true},
                                           Case{"folder", RemoveResult::NotRegular, false},
                                           Case{"link to file", RemoveResult::NotRegular, false},
                                           Case{"link to folder", RemoveResult::NotRegular, false},
                                           Case{"fifo", RemoveResult::NotRegular, false},
                                           Case{"missing", RemoveResult::Failed, true},
                                           Case{"trailing slash", RemoveResult::NotRegular,
                                                false}));

// A file replaced under the same name after it was seen is not the one to remove.
TEST(RemoveRegularFile, AnotherFileUnderTheSameNameStays) {
    TempTree tree;
    const QByteArray path = tree.createFileWith("file", "first");
    OpenedFile seen;
    ASSERT_TRUE(openRegularFile(path, seen));
    ::close(seen.fd);
    const QByteArray other = tree.createFileWith("other", "second");
    ASSERT_EQ(::rename(other.constData(), path.constData()), 0);
    EXPECT_EQ(removeRegularFile(path, &seen.identity), RemoveResult::Changed);
    EXPECT_EQ(readWholeFile(path), "second");
}

TEST(OpenRegularFile, RefusesLinksAndSpecialFiles) {
    TempTree tree;
    const QByteArray target = tree.createFileWith("target", "t");
    OpenedFile out;
    EXPECT_FALSE(openRegularFile(tree.createSymlink("link", target), out));
    EXPECT_FALSE(openRegularFile(tree.createFolder("folder"), out));
    const QByteArray fifo = tree.path("fifo");
    ASSERT_EQ(::mkfifo(fifo.constData(), 0644), 0);
    EXPECT_FALSE(openRegularFile(fifo, out));  // and does not hang
    ASSERT_TRUE(openRegularFile(target, out));
    EXPECT_EQ(out.size, 1);
    ::close(out.fd);
}
