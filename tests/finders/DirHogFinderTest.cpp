#include "core/GridModel.h"
#include "finders/DirHogFinder.h"
#include "platform/PackedStamp.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QLocale>
#include <map>

namespace vastel {
namespace {

using test::kEnglishUs;
using test::LocaleScope;
using test::TempTree;

constexpr time_t kOld = 1'600'000'000;  // September 2020
constexpr time_t kNew = 1'700'000'000;  // November 2023

struct Progress : WalkProgress {
    int full = 0;
    void collectionFull() override { ++full; }
};

std::map<QByteArray, DirHogRow> scan(const TempTree& tree, DirHogScan kind,
                                     DirHogResult* out = nullptr, qint64 capacity = 1000) {
    DirHogOptions options;
    options.scan = kind;
    options.capacity = capacity;
    options.sliceMs = 0;
    ScanTarget target;
    target.root = tree.root();
    Progress progress;
    StopToken stop;
    DirHogResult result = runDirHogs({target}, options, progress, stop);
    std::map<QByteArray, DirHogRow> rows;
    for (const DirHogRow& r : result.rows)
        rows[r.path == tree.root() ? QByteArray(".") : r.path.mid(tree.root().size() + 1)] = r;
    if (out) *out = std::move(result);
    return rows;
}

// A tree with files at three depths, hidden files and folders, a link and an empty folder.
class DirHogFinderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.createFile("top.bin", 7, kOld, kOld);
        tree.createFile("Music/a.mp3", 100, kOld, kOld);
        tree.createFile("Music/.hidden", 10, kOld, kNew);
        tree.createFile("Music/Rock/b.mp3", 1000, kOld, kOld);
        tree.createFile("Music/Rock/Live/c.mp3", 5, kOld, kOld);
        tree.createFile("Music/.cache/skip", 50'000, kOld, kOld);
        tree.createSymlink("Music/link", "../top.bin");
        tree.createSymlink("Music/folderlink", "Rock");
        tree.createFolder("Empty");
        tree.createFile(".config/x", 3, kOld, kOld);
    }
    TempTree tree;
};

TEST_F(DirHogFinderTest, AllFoldersCountTheirOwnFiles) {
    const auto rows = scan(tree, DirHogScan::All);
    // The root has a row; hidden folders have none, nor are their files counted anywhere.
    ASSERT_EQ(rows.size(), 5u);
    struct Expected {
        const char* folder;
        qint64 size, files, subfolders;
    };
    for (const Expected& e :
         {Expected{".", 7, 1, 3}, Expected{"Music", 110, 2, 2}, Expected{"Music/Rock", 1000, 1, 1},
          Expected{"Music/Rock/Live", 5, 1, 0}, Expected{"Empty", 0, 0, 0}}) {
        SCOPED_TRACE(e.folder);
        ASSERT_TRUE(rows.count(e.folder));
        const DirHogRow& r = rows.at(e.folder);
        EXPECT_EQ(r.size, e.size);
        EXPECT_EQ(r.files, e.files);
        EXPECT_EQ(r.subfolders, e.subfolders);  // hidden folders counted, links not
    }
    EXPECT_EQ(rows.at("Music").latest, packDosStamp(kNew));
    EXPECT_EQ(rows.at("Empty").latest, 0u);
}

TEST_F(DirHogFinderTest, MainFoldersCountTheirWholeSubTree) {
    DirHogResult result;
    const auto rows = scan(tree, DirHogScan::Main, &result);
    // Neither the root nor the hidden .config has a row; the root's own file belongs to none.
    ASSERT_EQ(rows.size(), 2u);
    const DirHogRow& music = rows.at("Music");
    EXPECT_EQ(music.size, 1115);
    EXPECT_EQ(music.files, 4);
    EXPECT_EQ(music.subfolders, 2);  // Rock and Live; not .cache, not the link
    EXPECT_EQ(music.latest, packDosStamp(kNew));
    EXPECT_EQ(rows.at("Empty").size, 0);
    EXPECT_GT(result.rows.front().volumeBytes, 0);
}

TEST_F(DirHogFinderTest, HardLinksCountOnceWhereFirstMet) {
    // Two names in one folder, and one in a sub-folder, which the walk finishes first.
    tree.createFile("Links/sub/one", 4000, kOld, kOld);
    ASSERT_EQ(::link(tree.path("Links/sub/one").constData(), tree.path("Links/two").constData()),
              0);
    ASSERT_EQ(::link(tree.path("Links/sub/one").constData(), tree.path("Links/three").constData()),
              0);
    const auto all = scan(tree, DirHogScan::All);
    EXPECT_EQ(all.at("Links/sub").size, 4000);
    EXPECT_EQ(all.at("Links").size, 0);
    EXPECT_EQ(all.at("Links").files, 0);
    const auto main = scan(tree, DirHogScan::Main);
    EXPECT_EQ(main.at("Links").size, 4000);
    EXPECT_EQ(main.at("Links").files, 1);
}

TEST_F(DirHogFinderTest, ParallelWalksGiveTheRowsOfOneWalk) {
    // Links across the split below the main folders, within a sub-tree, and across targets.
    tree.createFile("Links/sub/deep/one", 4000, kOld, kNew);
    tree.createFile("Links/sub/deep/more/x", 9, kOld, kOld);
    tree.createFile("Links/other/y", 11, kOld, kOld);
    tree.createFile("Music/Rock/Live/Encore/z", 13, kOld, kOld);
    for (const char* name : {"Links/two", "Links/other/three", "Links/sub/four", "Music/five"})
        ASSERT_EQ(::link(tree.path("Links/sub/deep/one").constData(), tree.path(name).constData()),
                  0);
    TempTree second;
    second.createFile("S/t/u/v", 21, kOld, kOld);
    ASSERT_EQ(
        ::link(tree.path("Links/sub/deep/one").constData(), second.path("S/t/again").constData()),
        0);
    const auto run = [&](DirHogScan kind, int threads, qint64 capacity = 1000) {
        DirHogOptions options;
        options.scan = kind;
        options.sliceMs = 0;
        options.threads = threads;
        options.capacity = capacity;
        std::vector<ScanTarget> targets(2);
        targets[0].root = tree.root();
        targets[1].root = second.root();
        Progress progress;
        StopToken stop;
        return runDirHogs(targets, options, progress, stop);
    };
    const auto same = [](const DirHogResult& a, const DirHogResult& b) {
        ASSERT_EQ(a.rows.size(), b.rows.size());
        EXPECT_EQ(a.full, b.full);
        for (size_t i = 0; i < a.rows.size(); ++i) {
            SCOPED_TRACE(a.rows[i].path.constData());
            EXPECT_EQ(a.rows[i].path, b.rows[i].path);
            EXPECT_EQ(a.rows[i].size, b.rows[i].size);
            EXPECT_EQ(a.rows[i].files, b.rows[i].files);
            EXPECT_EQ(a.rows[i].subfolders, b.rows[i].subfolders);
            EXPECT_EQ(a.rows[i].latest, b.rows[i].latest);
            EXPECT_EQ(a.rows[i].volumeBytes, b.rows[i].volumeBytes);
        }
    };
    for (DirHogScan kind : {DirHogScan::All, DirHogScan::Main}) {
        const DirHogResult one = run(kind, 1);
        ASSERT_GT(one.rows.size(), 3u);
        for (int threads : {2, 5}) same(one, run(kind, threads));
        same(run(kind, 1, 3), run(kind, 4, 3));  // a full row list keeps the same first rows
    }
}

TEST_F(DirHogFinderTest, FilesOfTwoGibibytesAndMoreCount) {
    const QByteArray big = tree.createFile("Big/sparse", 0, kOld, kOld);
    const qint64 size = (qint64(3) << 30) + 5;
    ASSERT_EQ(::truncate(big.constData(), size), 0);
    EXPECT_EQ(scan(tree, DirHogScan::All).at("Big").size, size);
    EXPECT_EQ(scan(tree, DirHogScan::Main).at("Big").size, size);
}

TEST_F(DirHogFinderTest, AFullRowListStopsTheScan) {
    DirHogResult result;
    const auto rows = scan(tree, DirHogScan::All, &result, 2);
    EXPECT_TRUE(result.full);
    EXPECT_EQ(rows.size(), 2u);
}

TEST_F(DirHogFinderTest, AStopBeforeTheScanGathersNothing) {
    DirHogOptions options;
    options.sliceMs = 0;
    ScanTarget target;
    target.root = tree.root();
    WalkProgress progress;
    StopToken stop;
    stop.request();
    for (DirHogScan kind : {DirHogScan::All, DirHogScan::Main}) {
        options.scan = kind;
        EXPECT_TRUE(runDirHogs({target}, options, progress, stop).rows.empty());
    }
}

TEST(DirHogTexts, PercentUsed) {
    LocaleScope english(kEnglishUs);
    struct Case {
        qint64 size, capacity;
        const char* text;
    };
    for (const Case& c : {Case{0, 1000, "0.00"}, Case{125, 1000, "12.50"}, Case{1, 3, "33.33"},
                          Case{999, 1000, "99.90"}, Case{1000, 1000, "???"},
                          Case{2000, 1000, "???"}, Case{5, 0, "???"}})
        EXPECT_EQ(percentUsedText(c.size, c.capacity), QString::fromLatin1(c.text))
            << c.size << " of " << c.capacity;
    LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(percentUsedText(125, 1000), QStringLiteral("12,50"));
}

TEST(DirHogTexts, CellsKeepThePathsSpellingAndSortLargestFirst) {
    LocaleScope english(kEnglishUs);
    DirHogRow a;
    a.path = "/data/Photos 2020";
    a.size = 5'000'000'000;
    a.files = 3;
    a.subfolders = 1;
    a.volumeBytes = 10'000'000'000;
    DirHogRow b = a;
    b.path = "/data/small";
    b.size = 12;
    EXPECT_EQ(dirHogCells(a),
              (QStringList{"5,000,000,000", "50.00", "3", "1", "", "/data/Photos 2020"}));
    GridModel grid(dirHogHeaders());
    fillDirHogGrid(grid, {b, a});
    sortDirHogsLargestFirst(grid);
    ASSERT_EQ(grid.rowCount(), 2);
    EXPECT_EQ(grid.path(0), a.path);
    EXPECT_EQ(grid.path(1), b.path);
}

}  // namespace
}  // namespace vastel
