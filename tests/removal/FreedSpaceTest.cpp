// What removing a set of names really frees, with hard links.
#include "removal/FreedSpace.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <unistd.h>

using namespace vastel;
using vastel::test::TempTree;

namespace {

QByteArray link(const QByteArray& target, const QByteArray& name) {
    EXPECT_EQ(::link(target.constData(), name.constData()), 0);
    return name;
}

TEST(FreedSpace, CountsAFileOnlyWhenAllItsLinksGoAndEachFileOnce) {
    TempTree tree;
    const QByteArray single = tree.createFile("single", 100);
    const QByteArray both = tree.createFile("both", 1000);
    const QByteArray both2 = link(both, tree.path("both2"));
    const QByteArray kept = tree.createFile("kept", 10000);
    link(kept, tree.path("elsewhere"));
    const QByteArray symlink = tree.createSymlink("sym", "single");
    const QByteArray gone = tree.path("gone");

    struct Case {
        const char* what;
        QList<QByteArray> paths;
        qint64 bytes, files, keptFiles, unreadable;
    } cases[] = {
        {"one plain file", {single}, 100, 1, 0, 0},
        {"both names of a file count once", {both, both2}, 1000, 1, 0, 0},
        {"one of two names frees nothing", {both}, 0, 1, 1, 0},
        {"a name listed twice is not a second link", {both, both}, 0, 1, 1, 0},
        {"a link kept outside", {kept, single}, 100, 2, 1, 0},
        {"symbolic links free no file bytes", {symlink}, 0, 0, 0, 0},
        {"a vanished name is counted as unreadable", {gone, single}, 100, 1, 0, 1},
        {"nothing", {}, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const FreedSpace f = freedByRemoving(c.paths);
        EXPECT_EQ(f.bytes, c.bytes);
        EXPECT_EQ(f.files, c.files);
        EXPECT_EQ(f.keptFiles, c.keptFiles);
        EXPECT_EQ(f.unreadable, c.unreadable);
    }
}

}  // namespace
