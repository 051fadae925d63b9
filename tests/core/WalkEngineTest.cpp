#include "core/TreeWalk.h"
#include "platform/DirEntry.h"
#include "platform/PackedStamp.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <functional>

namespace vastel {
namespace {

using test::TempTree;

ScanTarget folderTarget(const QByteArray& root) {
    ScanTarget t;
    t.kind = ScanTarget::Kind::Folder;
    t.root = root;
    t.text = QString::fromUtf8(root);
    return t;
}

// Records what a walk hands over; hooks let a test act in the middle of a walk.
class RecordingSink : public WalkSink {
  public:
    QByteArrayList paths;
    QByteArrayList started;
    QByteArrayList finished;
    std::function<void(const QByteArray&)> onFolderStarted;
    std::function<void(const WalkFile&)> onCollect;
    std::function<bool(const WalkFile&)> filter;

    void folderStarted(const QByteArray& folder) override {
        started << folder;
        if (onFolderStarted) onFolderStarted(folder);
    }
    bool accepts(const WalkFile& file) override { return !filter || filter(file); }
    void collect(const WalkFile& file) override {
        paths << file.path();
        if (onCollect) onCollect(file);
    }
    void folderFinished(const QByteArray& folder) override { finished << folder; }
};

class RecordingProgress : public WalkProgress {
  public:
    QStringList failed;
    int pumps = 0;
    int fullCalls = 0;
    void pump(const QByteArray&) override { ++pumps; }
    void targetFailed(const ScanTarget& target) override { failed << target.text; }
    void collectionFull() override { ++fullCalls; }
};

struct WalkRun {
    RecordingSink sink;
    RecordingProgress progress;
    StopToken abort;
    TreeWalk::Summary summary;
};

void walk(WalkRun& run, const std::vector<ScanTarget>& targets, WalkOptions options = {}) {
    options.sliceMs = 0;
    TreeWalk tree(options, run.sink, run.progress, run.abort);
    tree.scanTargets(targets);
    run.summary = tree.summary();
}

QByteArrayList walkPaths(const QByteArray& root, WalkOptions options = {}) {
    WalkRun run;
    walk(run, {folderTarget(root)}, options);
    return run.sink.paths;
}

QByteArrayList relative(const TempTree& tree, const QByteArrayList& paths) {
    QByteArrayList out;
    for (const QByteArray& p : paths) out << p.mid(tree.root().size() + 1);
    return out;
}

// The order a folder's listing gives, read independently of the walk.
QByteArrayList listingOrder(const QByteArray& folder) {
    QByteArrayList names;
    for (const DirEntry& e : listDirectory(folder)) names << e.name;
    return names;
}

TEST(TreeWalk, SubfoldersDepthFirstBeforeTheFolderOwnFiles) {
    TempTree tree;
    tree.createFile("z.txt", 1);
    tree.createFile("a/x.txt", 1);
    tree.createFile("a/b/y.txt", 1);
    tree.createFolder("a/b/empty");
    EXPECT_EQ(relative(tree, walkPaths(tree.root())),
              (QByteArrayList{"a/b/y.txt", "a/x.txt", "z.txt"}));
}

TEST(TreeWalk, SiblingsFollowTheListingOrder) {
    TempTree tree;
    for (const char* name : {"m", "c", "q", "e", "k"}) {
        tree.createFile(QByteArray(name) + "/in", 1);
        tree.createFile(QByteArray("f") + name, 1);
    }
    QByteArrayList expected;
    QByteArrayList ownFiles;
    for (const QByteArray& name : listingOrder(tree.root())) {
        if (name.startsWith('f'))
            ownFiles << name;
        else
            expected << name + "/in";
    }
    expected << ownFiles;
    EXPECT_EQ(relative(tree, walkPaths(tree.root())), expected);
}

TEST(TreeWalk, AttributeSelectionsOfTheListing) {
    TempTree tree;
    tree.createFile("plain", 1);
    const QByteArray locked = tree.createFile("locked", 1);
    ASSERT_EQ(::chmod(locked.constData(), 0444), 0);
    tree.createFile(".hidden", 1);
    tree.createFile(".secret/inside", 1);  // a hidden folder is never entered
    tree.createFile("visible/.dotfile", 1);
    ASSERT_EQ(::mkfifo(tree.path("pipe").constData(), 0644), 0);  // a system file
    tree.createFolder("visible/folder.txt");                      // folders are never files
    tree.createSymlink("link-to-file", "plain");

    struct Case {
        FileSelection files;
        QByteArrayList expected;  // sorted
    };
    const Case cases[] = {
        {FileSelection::Listed, {"locked", "plain"}},
        {FileSelection::All, {".hidden", "locked", "pipe", "plain", "visible/.dotfile"}},
    };
    for (const Case& c : cases) {
        WalkOptions options;
        options.files = c.files;
        QByteArrayList got = relative(tree, walkPaths(tree.root(), options));
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, c.expected) << int(c.files);
    }
}

TEST(TreeWalk, FileFieldsComeFromTheEntry) {
    TempTree tree;
    const time_t mtime = 1700000000;
    const QByteArray path = tree.createFile("dir/f.bin", 1234, mtime, mtime - 86400);
    ASSERT_EQ(::chmod(path.constData(), 0444), 0);
    WalkRun run;
    QByteArray folder;
    DirEntry seen;
    run.sink.onCollect = [&](const WalkFile& f) {
        folder = f.folder;
        seen = f.entry;
    };
    walk(run, {folderTarget(tree.root())});
    EXPECT_EQ(folder, tree.path("dir"));
    EXPECT_EQ(seen.name, "f.bin");
    EXPECT_EQ(seen.size, 1234);
    EXPECT_EQ(seen.attributes, quint32(faReadOnly));
    EXPECT_EQ(seen.lastWrite, packDosStamp(mtime));
    EXPECT_EQ(seen.lastAccess, packDosStamp(mtime - 86400));
    // Every field as the platform's own reading of the entry gives it.
    DirEntry direct;
    ASSERT_TRUE(statPath(path, direct));
    EXPECT_EQ(seen.creation, direct.creation);
    EXPECT_EQ(seen.mode, direct.mode);
    EXPECT_EQ(seen.device, direct.device);
    EXPECT_EQ(seen.inode, direct.inode);
    EXPECT_EQ(run.sink.started, (QByteArrayList{tree.root(), tree.path("dir")}));
    EXPECT_EQ(run.sink.finished, (QByteArrayList{tree.path("dir"), tree.root()}));
}

TEST(TreeWalk, PatternSelectsFilesOnly) {
    TempTree tree;
    tree.createFile("A.TXT", 1);
    tree.createFile("b.txt", 1);
    tree.createFile("c.doc", 1);
    tree.createFile("notes.txt/d.txt", 1);  // a folder whose name matches is still entered
    tree.createFile("notes.txt/e.doc", 1);
    struct Case {
        QByteArray pattern;
        QByteArrayList expected;
    };
    const Case cases[] = {
        {"*.txt", {"A.TXT", "b.txt", "notes.txt/d.txt"}},
        {"*.DOC", {"c.doc", "notes.txt/e.doc"}},
        {"?.*", {"A.TXT", "b.txt", "c.doc", "notes.txt/d.txt", "notes.txt/e.doc"}},
        {"*.txt;*.doc", {"A.TXT", "b.txt", "c.doc", "notes.txt/d.txt", "notes.txt/e.doc"}},
        {"nothing", {}},
    };
    for (const Case& c : cases) {
        WalkOptions options;
        options.pattern = c.pattern;
        QByteArrayList got = relative(tree, walkPaths(tree.root(), options));
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, c.expected) << c.pattern.constData();
    }
}

TEST(TreeWalk, OddNamesKeepTheirExactBytes) {
    TempTree tree;
    const QByteArrayList names = {"with blank",       "tab\there",       "new\nline",
                                  "carriage\rreturn", "bad\xff\xfeutf8", "back\\slash",
                                  "\xc3\xa9t\xc3\xa9"};
    for (const QByteArray& n : names) tree.createFile("d\t\xff/" + n, 1);
    QByteArrayList got = walkPaths(tree.root());
    QByteArrayList expected;
    for (const QByteArray& n : names) expected << tree.root() + "/d\t\xff/" + n;
    std::sort(got.begin(), got.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(got, expected);
}

TEST(TreeWalk, LinksAreNeitherFollowedNorListed) {
    TempTree tree;
    tree.createFile("a/real", 1);
    tree.createSymlink("a/loop", "..");
    tree.createSymlink("a/self", "self");
    tree.createSymlink("root", "/");
    tree.createSymlink("cycle1", "cycle2");
    tree.createSymlink("cycle2", "cycle1");
    tree.createSymlink("dangling", "nowhere");
    EXPECT_EQ(relative(tree, walkPaths(tree.root())), QByteArrayList{"a/real"});
}

TEST(TreeWalk, TargetGivenAsLinkIsWalked) {
    TempTree tree;
    tree.createFile("real/f", 1);
    const QByteArray link = tree.createSymlink("via", "real");
    EXPECT_EQ(walkPaths(link), QByteArrayList{link + "/f"});
}

// Things that change while the walk runs, made when the first sub-folder F starts; O is the
// other sub-folder, still pending then.
TEST(TreeWalk, TreeChangingUnderTheWalk) {
    struct Case {
        const char* what;
        std::function<void(TempTree&, const QByteArray& first, const QByteArray& other)> change;
        std::function<QByteArrayList(const QByteArray& first, const QByteArray& other)> expected;
    };
    const Case cases[] = {
        {"a pending sibling folder vanishes",
         [](TempTree& t, const QByteArray&, const QByteArray& o) {
             TempTree::removeTree(t.path(o));
         },
         [](const QByteArray& f, const QByteArray&) {
             return QByteArrayList{f + "/file", "top"};
         }},
        {"the folder being walked vanishes",
         [](TempTree& t, const QByteArray& f, const QByteArray&) {
             TempTree::removeTree(t.path(f));
         },
         [](const QByteArray&, const QByteArray& o) {
             return QByteArrayList{o + "/file", "top"};
         }},
        {"a file vanishes before its turn",
         [](TempTree& t, const QByteArray&, const QByteArray&) {
             ::unlink(t.path("top").constData());
         },
         [](const QByteArray&, const QByteArray&) {
             return QByteArrayList{"a/file", "b/file"};
         }},
        {"a file becomes a folder",
         [](TempTree& t, const QByteArray&, const QByteArray&) {
             ::unlink(t.path("top").constData());
             t.createFile("top/inner", 1);
         },
         [](const QByteArray&, const QByteArray&) {
             return QByteArrayList{"a/file", "b/file"};
         }},
        {"a pending folder becomes a link to the walked one",
         [](TempTree& t, const QByteArray& f, const QByteArray& o) {
             TempTree::removeTree(t.path(o));
             t.createSymlink(o, f);
         },
         [](const QByteArray& f, const QByteArray&) {
             return QByteArrayList{f + "/file", "top"};
         }},
    };
    for (const Case& c : cases) {
        TempTree tree;
        tree.createFile("a/file", 1);
        tree.createFile("b/file", 1);
        tree.createFile("top", 1);
        WalkRun run;
        QByteArray first, other;
        run.sink.onFolderStarted = [&](const QByteArray& folder) {
            if (!first.isEmpty() || folder == tree.root()) return;
            first = folder.mid(tree.root().size() + 1);
            other = first == "a" ? "b" : "a";
            c.change(tree, first, other);
        };
        walk(run, {folderTarget(tree.root())});
        QByteArrayList got = relative(tree, run.sink.paths);
        std::sort(got.begin(), got.end());
        EXPECT_EQ(got, c.expected(first, other)) << c.what;
        EXPECT_TRUE(run.progress.failed.isEmpty()) << c.what;
    }
}

TEST(TreeWalk, DeepTreeWithFewOpenFoldersGivesTheSameWalk) {
    TempTree tree;
    QByteArray chain;
    for (int i = 0; i < 30; ++i) {
        chain += "level" + QByteArray::number(i) + "/";
        tree.createFile(chain + "f" + QByteArray::number(i), 1);
        tree.createFile(chain + "side/s" + QByteArray::number(i), 1);
    }
    const QByteArrayList full = walkPaths(tree.root());
    EXPECT_EQ(full.size(), 60);
    WalkOptions few;
    few.maxOpenFolders = 2;
    EXPECT_EQ(walkPaths(tree.root(), few), full);
}

TEST(TreeWalk, ReopenedFolderMustBeTheSameFolder) {
    // With two open folders the walk goes down again by name; a folder renamed meanwhile is
    // not confused with whatever now has its name.
    TempTree tree;
    tree.createFile("a/b/c/deep", 1);
    tree.createFile("a/b/after", 1);
    tree.createFile("a/mine", 1);
    WalkRun run;
    run.sink.onFolderStarted = [&](const QByteArray& folder) {
        if (folder != tree.path("a/b/c")) return;
        ASSERT_EQ(::rename(tree.path("a").constData(), tree.path("moved").constData()), 0);
        tree.createFile("a/b/after", 1);  // an impostor under the old name
        tree.createFile("a/mine", 1);
    };
    WalkOptions few;
    few.maxOpenFolders = 2;
    walk(run, {folderTarget(tree.root())}, few);
    // The impostors' files are not listed as the walked folders' files.
    for (const QByteArray& p : run.sink.paths) EXPECT_FALSE(p.endsWith("/after")) << p.constData();
    for (const QByteArray& p : run.sink.paths) EXPECT_FALSE(p.endsWith("/mine")) << p.constData();
}

TEST(TreeWalk, StaysOnTheTargetFileSystem) {
    TempTree tree;
    tree.createFile("here", 1);
    const QByteArray mountPoint = tree.createFolder("mnt");
    if (::mount("vastel-test", mountPoint.constData(), "tmpfs", 0, "size=1m") != 0)
        GTEST_SKIP() << "cannot mount a tmpfs here";
    struct Unmount {
        QByteArray at;
        ~Unmount() { ::umount2(at.constData(), MNT_DETACH); }
    } unmount{mountPoint};
    tree.createFile("mnt/there", 1);
    EXPECT_EQ(relative(tree, walkPaths(tree.root())), QByteArrayList{"here"});
    // The mounted file system is a target of its own.
    EXPECT_EQ(walkPaths(mountPoint), QByteArrayList{mountPoint + "/there"});
}

TEST(TreeWalk, AbortIsTestedBeforeEachFolderAndFile) {
    TempTree tree;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 5; ++j)
            tree.createFile("d" + QByteArray::number(i) + "/f" + QByteArray::number(j), 1);
    const TempTree second;
    WalkRun run;
    run.sink.onCollect = [&](const WalkFile&) {
        if (run.sink.paths.size() == 3) run.abort.request();
    };
    walk(run, {folderTarget(tree.root()), folderTarget(second.root()),
               folderTarget(tree.path("missing"))});
    EXPECT_EQ(run.sink.paths.size(), 3);
    EXPECT_EQ(run.sink.started.size(), 2);  // the root and the first folder
    EXPECT_TRUE(run.sink.finished.isEmpty());
    // Later targets are still entered, so a missing one is still reported.
    EXPECT_EQ(run.progress.failed, QStringList{QString::fromUtf8(tree.path("missing"))});
}

TEST(TreeWalk, FullCollectionStopsTheWalk) {
    TempTree tree;
    for (int i = 0; i < 10; ++i) tree.createFile("f" + QByteArray::number(i), i);
    WalkRun run;
    auto evenSizes = [](const WalkFile& f) { return f.entry.size % 2 == 0; };  // 5 pass
    run.sink.filter = evenSizes;
    WalkOptions options;
    options.capacity = 3;
    walk(run, {folderTarget(tree.root()), folderTarget(tree.root())}, options);
    EXPECT_EQ(run.sink.paths.size(), 3);
    EXPECT_TRUE(run.summary.full);
    EXPECT_EQ(run.summary.collected, 3);
    EXPECT_TRUE(run.abort);
    EXPECT_EQ(run.progress.fullCalls, 1);

    WalkRun roomy;  // exactly as many as fit
    roomy.sink.filter = evenSizes;
    options.capacity = 5;
    walk(roomy, {folderTarget(tree.root())}, options);
    EXPECT_EQ(roomy.sink.paths.size(), 5);
    EXPECT_FALSE(roomy.summary.full);
    EXPECT_FALSE(roomy.abort);
}

TEST(TreeWalk, TargetsInOrderWithFailuresAndSilentSkips) {
    TempTree tree;
    tree.createFile("one/a", 1);
    tree.createFile("two/b", 1);
    const QByteArray gone = tree.createFolder("gone");
    ASSERT_EQ(::rmdir(gone.constData()), 0);
    ScanTarget notReady;
    notReady.kind = ScanTarget::Kind::Drive;
    notReady.root = "/no/such/drive";
    notReady.text = QStringLiteral("/no/such/drive [FLOPPY]");
    ScanTarget file = folderTarget(tree.createFile("plain-file", 1));
    WalkRun run;
    walk(run, {folderTarget(tree.path("two")), notReady, folderTarget(gone), file,
               folderTarget(tree.path("one"))});
    EXPECT_EQ(relative(tree, run.sink.paths), (QByteArrayList{"two/b", "one/a"}));
    EXPECT_EQ(run.progress.failed,
              (QStringList{QString::fromUtf8(gone), QString::fromUtf8(file.root)}));
    EXPECT_EQ(run.summary.failedTargets, 2);
}

TEST(TreeWalk, EmptyRootRunsItsFilesOnce) {
    TempTree tree;
    WalkRun run;
    walk(run, {folderTarget(tree.root())});
    EXPECT_TRUE(run.sink.paths.isEmpty());
    EXPECT_EQ(run.sink.started, QByteArrayList{tree.root()});
    EXPECT_EQ(run.sink.finished, QByteArrayList{tree.root()});
}

TEST(TreeWalk, PumpsOnItsTimeSlice) {
    TempTree tree;
    for (int i = 0; i < 50; ++i) tree.createFile("f" + QByteArray::number(i), 1);
    WalkRun run;
    WalkOptions options;
    options.sliceMs = 1;
    TreeWalk walkWithPump(options, run.sink, run.progress, run.abort);
    walkWithPump.scanTarget(folderTarget(tree.root()));
    EXPECT_GE(run.progress.pumps, 1);  // at least the first test pumps at once
    EXPECT_LE(run.progress.pumps, 52);
}

}  // namespace
}  // namespace vastel
