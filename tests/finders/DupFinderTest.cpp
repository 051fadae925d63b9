#include "core/Utility.h"
#include "finders/DupFinder.h"
#include "finders/FieldTexts.h"
#include "support/LocaleScope.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QMap>
#include <QProcess>
#include <QSet>

namespace vastel {
namespace {

using test::kEnglishUs;
using test::LocaleScope;
using test::TempTree;

constexpr time_t kMonday = 1700000000;  // 14 November 2023
constexpr time_t kLater = 1700003600;

// The finder over one folder, every size passing unless a condition is given.
std::vector<GridRow> find(const TempTree& tree, FinderMode mode, int matchMode,
                          SizeCondition size = {SizeChoice::Larger, 0, 0},
                          const QByteArray& pattern = "*.*") {
    DupOptions options;
    options.mode = mode;
    options.matchMode = matchMode;
    options.size = size;
    ScanTarget target;
    target.root = tree.root();
    target.text = QString::fromUtf8(tree.root());
    WalkProgress progress;
    StopToken abort;
    const DupRun run = runDupFinder({target}, pattern, options, progress, abort);
    // The records as the grid shows them: every cell's text, the path and the shade.
    std::vector<GridRow> rows;
    for (const ResultRecord& record : run.records) {
        GridRow row;
        for (int c = 0; c < run.columns->count(); ++c)
            row.cells.append(run.columns->text(record, c));
        row.path = record.path();
        row.shade = record.shade;
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<GridRow> duplicates(const TempTree& tree, int matchMode) {
    return find(tree, FinderMode::Duplicates, matchMode);
}

// Paths relative to the tree, in grid order.
QByteArrayList relativePaths(const TempTree& tree, const std::vector<GridRow>& rows) {
    QByteArrayList out;
    for (const GridRow& r : rows) out << r.path.mid(tree.root().size() + 1);
    return out;
}

QString shades(const std::vector<GridRow>& rows) {
    QString out;
    for (const GridRow& r : rows)
        out += QLatin1Char(r.shade == GridShade::A ? 'A' : r.shade == GridShade::B ? 'B' : '-');
    return out;
}

TEST(DupSizeCondition, BoundsInBytesAndKilobytes) {
    struct Case {
        SizeChoice choice;
        qint64 first, second;
        bool kb;
        qint64 size;
        bool passes;
    };
    const Case cases[] = {
        {SizeChoice::Larger, 250, 250, true, 256'000, true},
        {SizeChoice::Larger, 250, 250, true, 255'999, false},
        {SizeChoice::Smaller, 250, 250, false, 250, true},
        {SizeChoice::Smaller, 250, 250, false, 251, false},
        {SizeChoice::Between, 100, 100, true, 102'400, true},
        {SizeChoice::Between, 100, 100, true, 102'399, false},
        {SizeChoice::Between, 100, 100, true, 102'401, false},
        // Bounds beyond 32 bits: 3,000,000 KB and a file of 4 GiB.
        {SizeChoice::Larger, 3'000'000, 0, true, 3'072'000'000, true},
        {SizeChoice::Larger, 3'000'000, 0, true, 3'071'999'999, false},
        {SizeChoice::Smaller, 4'194'304, 0, true, qint64(4) << 30, true},
        {SizeChoice::Larger, 9'999'999'999, 0, true, qint64(1) << 40, false},
    };
    for (const Case& c : cases) {
        const SizeCondition condition =
            SizeCondition::fromNumbers(c.choice, c.first, c.second, c.kb);
        EXPECT_EQ(condition.passes(c.size), c.passes)
            << int(c.choice) << " " << c.first << " " << c.second << " size " << c.size;
    }
}

TEST(DupFinder, FilenameOnlyGroupsNamesWithoutRegardToCase) {
    LocaleScope locale(kEnglishUs);
    TempTree tree;
    tree.createFile("one/readme.txt", 10, kMonday);
    tree.createFile("two/README.TXT", 20, kLater);
    tree.createFile("two/alone.txt", 10, kMonday);
    const std::vector<GridRow> rows = duplicates(tree, 0);
    ASSERT_EQ(relativePaths(tree, rows), (QByteArrayList{"one/readme.txt", "two/README.TXT"}));
    EXPECT_EQ(shades(rows), QStringLiteral("AA"));
    // Filename, Size, Modified, Time, Access, Folder, Type.
    const GridRow& r = rows[1];
    EXPECT_EQ(r.cells.size(), 7);
    EXPECT_EQ(r.cells[0], QStringLiteral("README.TXT"));
    EXPECT_EQ(r.cells[1], QStringLiteral("20"));
    EXPECT_EQ(r.cells[5], QString::fromUtf8(tree.path("two")));
    EXPECT_EQ(r.cells[6], fileTypeText(QStringLiteral(".TXT")));
    EXPECT_FALSE(r.cells[2].isEmpty());
    EXPECT_FALSE(r.cells[3].isEmpty());
}

TEST(DupFinder, SizeOnlyKeepsGroupsOfTwoOrMore) {
    LocaleScope locale(kEnglishUs);
    TempTree tree;
    tree.createFile("a.dat", 1000);
    tree.createFile("sub/b.doc", 1000);
    tree.createFile("sub/c.txt", 1000);
    tree.createFile("d.dat", 2000);
    const std::vector<GridRow> rows = duplicates(tree, 3);
    // Ordered by size, then name; the columns stay Filename, Size, ...
    ASSERT_EQ(relativePaths(tree, rows), (QByteArrayList{"a.dat", "sub/b.doc", "sub/c.txt"}));
    EXPECT_EQ(rows[0].cells[0], QStringLiteral("a.dat"));
    EXPECT_EQ(rows[0].cells[1], QStringLiteral("1,000"));
    EXPECT_EQ(shades(rows), QStringLiteral("AAA"));
}

TEST(DupFinder, SizeAndTimeGroupsOnlyNeighbours) {
    // Equal size and time, but a file of the same size and another time sorts between them by
    // name: a group is a run of neighbouring lines, so neither is listed.
    TempTree tree;
    tree.createFile("a.bin", 500, kMonday);
    tree.createFile("b.bin", 500, kLater);
    tree.createFile("c.bin", 500, kMonday);
    EXPECT_TRUE(duplicates(tree, 4).empty());
    tree.createFile("d.bin", 500, kMonday);
    EXPECT_EQ(relativePaths(tree, duplicates(tree, 4)), (QByteArrayList{"c.bin", "d.bin"}));
}

TEST(DupFinder, KeysCompareFieldByField) {
    // Joined without a separator "a1" + "23" and "a12" + "3" would read the same.
    LocaleScope locale(kEnglishUs);
    TempTree tree;
    tree.createFile("x/a1", 23);
    tree.createFile("y/a12", 3);
    EXPECT_TRUE(duplicates(tree, 1).empty());
}

TEST(DupFinder, AdjacentGroupsAgreeingInTheShadeColumnShareAShade) {
    TempTree tree;
    tree.createFile("1/same.txt", 10);
    tree.createFile("2/same.txt", 10);
    tree.createFile("3/same.txt", 20);
    tree.createFile("4/same.txt", 20);
    tree.createFile("5/zeta.txt", 5);
    tree.createFile("6/zeta.txt", 5);
    const std::vector<GridRow> rows = duplicates(tree, 1);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(shades(rows), QStringLiteral("AAAABB"));
    // Size only: three groups, alternating.
    EXPECT_EQ(shades(duplicates(tree, 3)), QStringLiteral("AABBAA"));
}

TEST(DupFinder, TypeAndTimeGroupsByTypeDateAndTime) {
    TempTree tree;
    tree.createFile("a.txt", 1, kMonday);
    tree.createFile("b.txt", 2, kMonday);
    tree.createFile("c.txt", 3, kLater);
    tree.createFile("d.doc", 4, kMonday);
    tree.createFile("e.doc", 5, kMonday);
    const std::vector<GridRow> rows = duplicates(tree, 6);
    ASSERT_EQ(rows.size(), 4u);
    QByteArrayList paths = relativePaths(tree, rows);
    // Two groups, each in name order; the order of the groups follows the type texts.
    EXPECT_TRUE((paths == QByteArrayList{"a.txt", "b.txt", "d.doc", "e.doc"}) ||
                (paths == QByteArrayList{"d.doc", "e.doc", "a.txt", "b.txt"}))
        << paths.join(' ').constData();
    EXPECT_EQ(shades(rows), QStringLiteral("AABB"));
    EXPECT_EQ(rows[0].cells[6], rows[1].cells[6]);
}

TEST(DupFinder, NamesThatDifferOnlyInInvalidBytesStayApart) {
    TempTree tree;
    tree.createFile("1/n\xff", 7);
    tree.createFile("2/n\xfe", 7);
    tree.createFile("3/n\xff", 7);
    // Both look like "n\uFFFD", but only the two \xff names are one name.
    const std::vector<GridRow> rows = duplicates(tree, 0);
    ASSERT_EQ(relativePaths(tree, rows), (QByteArrayList{"1/n\xff", "3/n\xff"}));
    // By size all three are duplicates, each row with its own exact path.
    const QByteArrayList bySize = relativePaths(tree, duplicates(tree, 3));
    ASSERT_EQ(bySize.size(), 3);
    EXPECT_TRUE(bySize.contains("2/n\xfe"));
    EXPECT_EQ(shades(duplicates(tree, 0)), QStringLiteral("AA"));
}

TEST(DupFinder, NonAsciiNamesFoldTheirCase) {
    TempTree tree;
    tree.createFile("1/\xc3\xa9t\xc3\xa9.txt", 1);  // été.txt
    tree.createFile("2/\xc3\x89T\xc3\x89.TXT", 2);  // ÉTÉ.TXT
    EXPECT_EQ(duplicates(tree, 0).size(), 2u);
}

TEST(DupFinder, PatternAndSizeConditionChooseTheFiles) {
    TempTree tree;
    tree.createFile("x/big.doc", 256'000);
    tree.createFile("y/big.doc", 255'999);
    tree.createFile("z/big.txt", 256'000);
    const SizeCondition defaults = SizeCondition::fromNumbers(SizeChoice::Larger, 250, 250, true);
    EXPECT_EQ(relativePaths(tree, find(tree, FinderMode::FileHogs, 0, defaults, "*.doc")),
              (QByteArrayList{"x/big.doc"}));
    EXPECT_TRUE(find(tree, FinderMode::Duplicates, 0, defaults, "*.doc").empty());
}

TEST(DupFinder, FileHogsLargestFirstWithTheirOwnPaths) {
    LocaleScope locale(kEnglishUs);
    TempTree tree;
    tree.createFile("small.txt", 10, kMonday);
    tree.createFile("Sub/Big File.DAT", 5000, kLater);
    tree.createFile("medium.txt", 300, kMonday);
    // Sparse: a size beyond 32 bits without the disk space.
    const QByteArray huge = tree.createFile("huge.img", 0);
    ASSERT_EQ(::truncate(huge.constData(), (qint64(5) << 30) + 1), 0);
    const std::vector<GridRow> rows = find(tree, FinderMode::FileHogs, 0);
    ASSERT_EQ(relativePaths(tree, rows),
              (QByteArrayList{"huge.img", "Sub/Big File.DAT", "medium.txt", "small.txt"}));
    // Size, Modified, Time, Access, FileName, Type; the path keeps its case.
    EXPECT_EQ(rows[0].cells[0], QStringLiteral("5,368,709,121"));
    EXPECT_EQ(rows[1].cells.size(), 6);
    EXPECT_EQ(rows[1].cells[4], QString::fromUtf8(tree.path("Sub/Big File.DAT")));
    EXPECT_EQ(rows[1].shade, GridShade::None);
}

// Rows that are names of one file say so, in every mode that lists both; a name whose other
// link is not listed (left out by the pattern) has nothing to point at.
TEST(DupFinder, RowsThatShareTheirFileSaySo) {
    TempTree tree;
    const QByteArray a = tree.createFile("a.dat", 100, kMonday);
    tree.createFile("b.dat", 100, kMonday);  // a copy: a file of its own
    const QByteArray c = tree.createFile("c.dat", 50, kMonday);
    tree.createFile("d.dat", 50, kMonday);
    tree.createFolder("sub");
    ASSERT_EQ(::link(a.constData(), tree.path("sub/a.dat").constData()), 0);
    ASSERT_EQ(::link(c.constData(), tree.path("c.link").constData()), 0);
    ScanTarget target;
    target.root = tree.root();
    for (const auto& [mode, matchMode] :
         {std::pair{FinderMode::FileHogs, 0}, std::pair{FinderMode::Duplicates, 3},
          std::pair{FinderMode::Duplicates, 0}}) {
        DupOptions options;
        options.mode = mode;
        options.matchMode = matchMode;
        options.size = {SizeChoice::Larger, 0, 0};
        WalkProgress progress;
        StopToken abort;
        const DupRun run = runDupFinder({target}, "*.dat", options, progress, abort);
        QByteArrayList sharing;
        for (const ResultRecord& r : run.records)
            if (r.sharesFile) sharing << r.path().mid(tree.root().size() + 1);
        std::sort(sharing.begin(), sharing.end());
        EXPECT_EQ(sharing, (QByteArrayList{"a.dat", "sub/a.dat"})) << matchMode;
        const int column = run.columns->sharedFileColumn();
        EXPECT_EQ(run.columns->text(run.records[0], column).isEmpty(), false);
        EXPECT_EQ(column, mode == FinderMode::FileHogs ? 0 : 1);  // the Size column
    }
}

TEST(DupFinder, ManyRowsKeepTheirOwnCellsAndPaths) {
    // Enough rows for the cells to be made on several threads, and for the types and dates to
    // be looked up beside the walk over many hand-overs and record blocks.
    LocaleScope locale(kEnglishUs);
    TempTree tree;
    constexpr int kFiles = 45'000;
    const char* const extensions[] = {".txt", ".png", ".zq1", ""};
    for (const char* folder : {"a", "b"}) tree.createFolder(folder);
    for (int i = 0; i < kFiles; ++i) {
        const QByteArray path = tree.path(QByteArray(i % 2 ? "a/f" : "b/f") +
                                          QByteArray::number(i) + extensions[i % 4]);
        const int fd = ::open(path.constData(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, i % 997), 0);
        const timespec times[2] = {{kMonday, 0}, {kMonday + (i % 5) * 86400, 0}};
        ASSERT_EQ(::futimens(fd, times), 0);
        ::close(fd);
    }
    const std::vector<GridRow> rows = duplicates(tree, 3);
    ASSERT_EQ(rows.size(), size_t(kFiles));
    QSet<QByteArray> paths;
    QMap<qint64, QString> dateOfDay;
    for (const GridRow& r : rows) paths.insert(r.path);
    EXPECT_EQ(paths.size(), kFiles);
    for (size_t k = 0; k < rows.size(); ++k) {
        const GridRow& r = rows[k];
        struct stat st {};
        ASSERT_EQ(::stat(r.path.constData(), &st), 0) << r.path.constData();
        const QByteArray name = r.path.mid(r.path.lastIndexOf('/') + 1);
        ASSERT_EQ(r.cells[0], QString::fromUtf8(name));
        ASSERT_EQ(r.cells[1], thousandsText(st.st_size));
        const qsizetype dot = name.lastIndexOf('.');
        ASSERT_EQ(r.cells[6], fileTypeText(dot < 0 ? QString() : QString::fromUtf8(name.mid(dot))))
            << name.constData();
        // One text per day, and each day its own.
        QString& date = dateOfDay[(st.st_mtime - kMonday) / 86400];
        if (date.isEmpty()) date = r.cells[2];
        ASSERT_EQ(r.cells[2], date) << name.constData();
        if (k > 0) {
            ASSERT_EQ(r.shade == rows[k - 1].shade, r.cells[1] == rows[k - 1].cells[1]) << k;
        }
    }
    ASSERT_EQ(dateOfDay.size(), 5);
    EXPECT_EQ(QSet<QString>(dateOfDay.begin(), dateOfDay.end()).size(), 5);
}

TEST(FieldTexts, FoldedKeysKeepBytesThatAreNotText) {
    EXPECT_EQ(foldedKey(QByteArray("readme.txt")), QByteArray("README.TXT"));
    EXPECT_EQ(foldedKey(QByteArray("\xc3\xa9t\xc3\xa9")), QByteArray("\xc3\x89T\xc3\x89"));
    EXPECT_EQ(foldedKey(QByteArray("n\xff"
                                   "a")),
              QByteArray("N\xff"
                         "A"));
    EXPECT_NE(foldedKey(QByteArray("n\xff")), foldedKey(QByteArray("n\xfe")));
}

// vastel-scan dups and hogs print the grid's rows: escaped cells, then the exact path.
struct Outcome {
    QByteArray out, err;
    int code = -1;
};

Outcome scan(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral(VASTEL_SCAN_PATH), args);
    Outcome r;
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << "vastel-scan timed out";
        return r;
    }
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return r;
}

TEST(ScanDupsCommand, RowsInGridOrderWithEscapedCellsAndTheExactPath) {
    TempTree tree;
    tree.createFile("a/tab\there", 300'000);
    tree.createFile("b/tab\there", 300'000);
    tree.createFile("b/n\xff", 300'000);
    tree.createFile("c/small", 1000);
    const QString root = QFile::decodeName(tree.root());
    const Outcome dups = scan({"dups", "--mode", "0", root});
    ASSERT_EQ(dups.code, 0) << dups.err.constData();
    const QByteArrayList lines = dups.out.split('\n');
    ASSERT_EQ(lines.size(), 3) << dups.out.constData();  // two rows and the final empty part
    const QByteArrayList fields = lines[0].split('\t');
    ASSERT_EQ(fields.size(), 8);
    EXPECT_EQ(fields[0], QByteArray("tab\\there"));
    EXPECT_EQ(fields[7], tree.path("a") + "/tab\\there");

    // Hogs over the default 250 KB, largest first; the \xff name printed as its bytes.
    const Outcome hogs = scan({"hogs", root});
    ASSERT_EQ(hogs.code, 0) << hogs.err.constData();
    EXPECT_EQ(hogs.out.count('\n'), 3);
    EXPECT_TRUE(hogs.out.contains("\t" + tree.path("b/n\xff") + "\n"));
    EXPECT_FALSE(hogs.out.contains("small"));
    // Options choose the size condition.
    const Outcome smaller = scan({"hogs", "--smaller", "1000", "--unit", "bytes", root});
    EXPECT_TRUE(smaller.out.endsWith("\t" + tree.path("c/small") + "\n"))
        << smaller.out.constData();
}

TEST(ScanDupsCommand, BadArgumentsAndMissingTargets) {
    EXPECT_EQ(scan({"dups", "/tmp"}).code, 2);  // no --mode
    EXPECT_EQ(scan({"dups", "--mode", "8", "/tmp"}).code, 2);
    EXPECT_EQ(scan({"hogs", "--mode", "1", "/tmp"}).code, 2);
    EXPECT_EQ(scan({"hogs", "--unit", "MB", "/tmp"}).code, 2);
    EXPECT_EQ(scan({"hogs", "--larger", "ten", "/tmp"}).code, 2);
    const Outcome between = scan({"hogs", "--between", "5", "4", "/tmp"});
    EXPECT_EQ(between.code, 2);
    EXPECT_TRUE(between.err.contains("The second number must be larger or equal than the first"));
    const Outcome missing = scan({"hogs", "/nonexistent/folder"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_TRUE(missing.err.contains("Can't open drive /nonexistent/folder"));
}

}  // namespace
}  // namespace vastel
