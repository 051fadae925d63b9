// A statistics run over trees of our own: what each file adds to the tallies, the type filter,
// hard links, aborts, repeated runs and vastel-scan stats.
#include "core/SettingsStore.h"
#include "stats/StatRun.h"
#include "stats/StatTypeLists.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDateTime>
#include <QProcess>

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

StatOptions optionsFor(std::initializer_list<QByteArray> roots) {
    StatOptions o;
    for (const QByteArray& r : roots) o.targets.push_back(folderTarget(r));
    o.sliceMs = 0;
    return o;
}

StatRunResult collect(StatTallies& t, const StatOptions& options) {
    StatRun run(t, options);
    WalkProgress quiet;
    StopToken stop;
    return run.run(quiet, stop);
}

time_t localTime(const QDate& date, int hour, int minute) {
    return time_t(QDateTime(date, QTime(hour, minute)).toSecsSinceEpoch());
}

const StatTallies::AgeTally& modify(const StatTallies& t) { return t.modifyCount; }

TEST(StatRun, SizesWasteAndTypesOfOneTarget) {
    TempTree tree;
    tree.createFile("a/report.doc", 5000);
    tree.createFile("REPORT.DOC", 16384);
    tree.createFile("archive.tar.gz", 16385);
    tree.createFile("readme", 0);
    tree.createFile("page.shtml1", 8192);
    StatTallies t;
    collect(t, optionsFor({tree.root()}));
    EXPECT_EQ(t.filesProcessed, 5);
    EXPECT_EQ(t.filesSelected, 5);
    EXPECT_EQ(t.sizeCount[1], 4);
    EXPECT_EQ(t.sizeBytes[1], 5000 + 16384 + 8192);
    EXPECT_EQ(t.sizeCount[2], 1);
    // 5,000 bytes: 3,192 / 3,192 / 11,384 / 27,768 / 60,536; 8,192 bytes: 0 / 0 / 8,192 / ...
    EXPECT_EQ(t.waste4K, 3192 + 0 + 4096 - 1 + 0);
    EXPECT_EQ(t.waste16K, 11384 + 0 + 16383 + 8192);
    EXPECT_EQ(t.waste64K, 60536 + (65536 - 16384) + (65536 - 16385) + (65536 - 8192));
    QStringList lines;
    for (const TypeRecord& r : t.types) lines << r.line();
    // page.shtml1 is counted everywhere but here (its extension is too long).
    EXPECT_EQ(lines, (QStringList{QStringLiteral("\t1\t0"), QStringLiteral(".DOC\t2\t21384"),
                                  QStringLiteral(".GZ\t1\t16385")}));
}

TEST(StatRun, TwoTargetsKeepNoWaste) {
    TempTree one, two;
    one.createFile("a.txt", 5000);
    two.createFile("b.txt", 5000);
    StatTallies t;
    collect(t, optionsFor({one.root(), two.root()}));
    EXPECT_EQ(t.filesSelected, 2);
    EXPECT_EQ(t.waste4K + t.waste8K + t.waste16K + t.waste32K + t.waste64K, 0);
}

TEST(StatRun, AgesAndSlotsOfTheThreeDates) {
    TempTree tree;
    const QDate today = QDate::currentDate();
    tree.createFile("seven", 1, localTime(today.addDays(-7), 0, 15), localTime(today, 0, 30));
    tree.createFile("eight", 1, localTime(today.addDays(-8), 23, 59), localTime(today, 23, 59));
    tree.createFile("old", 1, localTime(today.addDays(-1461), 12, 0), localTime(today, 12, 0));
    tree.createFile("future", 1, localTime(today.addDays(3), 12, 0), localTime(today, 12, 0));
    StatTallies t;
    StatOptions o = optionsFor({tree.root()});
    o.today = today;
    collect(t, o);
    EXPECT_EQ(modify(t)[1], 2);  // seven days and three days ahead
    EXPECT_EQ(modify(t)[2], 1);
    EXPECT_EQ(modify(t)[9], 1);
    EXPECT_EQ(t.accessCount[1], 4);
    EXPECT_EQ(t.hourModified[47], 1);
    EXPECT_EQ(t.hourModified[24], 2);
    qint64 modifiedSlots = 0;
    for (qint64 n : t.hourModified) modifiedSlots += n;
    EXPECT_EQ(modifiedSlots, 3);  // 00:15 is in no slot
    EXPECT_EQ(t.hourAccessed[1], 1);
    EXPECT_EQ(t.hourAccessed[0], 0);
}

TEST(StatRun, AttributesCountUnderEachBitTheyHave) {
    TempTree tree;
    ASSERT_EQ(::mkfifo(tree.path(".pipe").constData(), 0644), 0);  // hidden and system
    tree.createFile("plain", 10);
    const QByteArray locked = tree.createFile("locked", 20);
    ::chmod(locked.constData(), 0444);
    StatTallies t;
    collect(t, optionsFor({tree.root()}));
    EXPECT_EQ(t.filesProcessed, 3);
    EXPECT_EQ(t.nHidden, 1);
    EXPECT_EQ(t.nSystem, 1);
    EXPECT_EQ(t.nReadOnly, 1);
    EXPECT_EQ(t.szReadOnly, 20);
    EXPECT_EQ(t.nArchive, 0);
}

TEST(StatRun, IncludeAndExcludeChoices) {
    TempTree tree;
    for (const char* name : {"a.doc", "B.DOC", "c.txt", "d.TxT", "e.pdf", "f", "g.docx"})
        tree.createFile(name, 100);
    const QStringList lines = TypeFilter::linesOfPatterns(QStringLiteral("*.doc;*.txt"));
    struct Case {
        bool include;
        qint64 selected;
    };
    for (const Case c : {Case{true, 4}, Case{false, 3}}) {
        StatOptions o = optionsFor({tree.root()});
        o.filter.allTypes = false;
        o.filter.includeTypes = c.include;
        o.filter.excludeTypes = !c.include;
        o.filter.types = lines;
        StatTallies t;
        collect(t, o);
        EXPECT_EQ(t.filesProcessed, 7);
        EXPECT_EQ(t.filesSelected, c.selected) << c.include;
        EXPECT_EQ(t.sizeCount[1], c.selected);
    }
    // An empty list keeps nothing, or everything.
    StatOptions none = optionsFor({tree.root()});
    none.filter.allTypes = false;
    none.filter.includeTypes = true;
    StatTallies t;
    collect(t, none);
    EXPECT_EQ(t.filesSelected, 0);
}

TEST(StatRun, HardLinksAreTalliedOncePerRun) {
    TempTree one, two;
    const QByteArray file = one.createFile("data.bin", 4000);
    ASSERT_EQ(::link(file.constData(), one.path("again.bin").constData()), 0);
    ASSERT_EQ(::link(file.constData(), two.path("third.bin").constData()), 0);
    StatTallies t;
    collect(t, optionsFor({one.root(), two.root()}));
    EXPECT_EQ(t.filesProcessed, 3);
    EXPECT_EQ(t.filesSelected, 1);
    EXPECT_EQ(t.sizeBytes[1], 4000);
}

TEST(StatRun, FilesOfTwoGigabytesAndMoreAreCountedExactly) {
    TempTree tree;
    const QByteArray big = tree.createFile("big.img", 0);
    ASSERT_EQ(::truncate(big.constData(), 5'000'000'000LL), 0);  // sparse
    StatTallies t;
    collect(t, optionsFor({tree.root()}));
    EXPECT_EQ(t.sizeCount[12], 1);
    EXPECT_EQ(t.sizeBytes[12], 5'000'000'000LL);
    ASSERT_EQ(t.types.size(), 1u);
    EXPECT_EQ(t.types[0].bytes, 5'000'000'000LL);
    EXPECT_EQ(t.modifyBytes[1], 5'000'000'000LL);
}

// Stops the run at the walk's first time slice.
class StopAtOnce : public WalkProgress {
  public:
    explicit StopAtOnce(StopToken& stop) : stop_(stop) {}
    void pump(const QByteArray&) override { stop_.request(); }
    StopToken& stop_;
};

TEST(StatRun, AbortDuringTheFirstOfTwoTargets) {
    TempTree one, two;
    one.createFile("x/a", 1);
    two.createFile("b", 1);
    StatOptions o = optionsFor({one.root(), two.root()});
    o.sliceMs = 1;
    StatTallies t;
    t.filesProcessed = 99;  // a previous run's figures go
    StatRun run(t, o);
    StopToken stop;
    StopAtOnce progress(stop);
    const StatRunResult r = run.run(progress, stop);
    EXPECT_TRUE(r.aborted);
    EXPECT_EQ(r.doneList, QString::fromUtf8(one.root()) + QLatin1Char(' '));
    EXPECT_EQ(t.filesProcessed, 0);
}

TEST(StatRun, SecondRunStartsFromClearedTallies) {
    TempTree tree;
    tree.createFile("a.txt", 3);
    tree.createFile("b.txt", 5);
    StatTallies t;
    collect(t, optionsFor({tree.root()}));
    const QString first = t.types.front().line();
    collect(t, optionsFor({tree.root()}));
    EXPECT_EQ(t.filesProcessed, 2);
    EXPECT_EQ(t.sizeBytes[1], 8);
    EXPECT_EQ(t.types.size(), 1u);
    EXPECT_EQ(t.types.front().line(), first);
}

TEST(StatTypeLists, DefaultsOnlyWhenNeverWritten) {
    ASSERT_EQ(ReadStatFilesFromDisk(kExcludeSection).size(), 3);
    EXPECT_TRUE(ReadStatFilesFromDisk(kExcludeSection)[0].startsWith(QStringLiteral("*.dll\t")));
    WriteStatFilesToDisk({}, kIncludeSection);
    EXPECT_TRUE(ReadStatFilesFromDisk(kIncludeSection).isEmpty());
    WriteStatFilesToDisk({QStringLiteral("*.txt\tText"), QStringLiteral("*.doc\tWord")},
                         kIncludeSection);
    EXPECT_EQ(SettingsStore().readString(kIncludeSection, QStringLiteral("File1"), QString()),
              QStringLiteral("*.txt"));
    EXPECT_EQ(ReadStatFilesFromDisk(kIncludeSection).size(), 2);
}

TEST(ScanStats, PrintsEveryTallyInOrder) {
    TempTree tree;
    tree.createFile("report.doc", 5000);
    tree.createFile("notes.txt", 20000);
    tree.createFile("x.pdf", 10);
    QProcess p;
    p.start(QStringLiteral(VASTEL_SCAN_PATH),
            {QStringLiteral("stats"), QStringLiteral("--include"), QStringLiteral("*.doc;*.txt"),
             QString::fromUtf8(tree.root())});
    ASSERT_TRUE(p.waitForFinished(30000));
    EXPECT_EQ(p.exitCode(), 0);
    const QStringList lines =
        QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // 2 + 24 sizes + 60 ages + 141 slots + 8 attributes + 5 waste + 2 types
    ASSERT_EQ(lines.size(), 242);
    EXPECT_EQ(lines[0], QStringLiteral("filesProcessed\t3"));
    EXPECT_EQ(lines[1], QStringLiteral("filesSelected\t2"));
    EXPECT_EQ(lines[2], QStringLiteral("sizeCount\t1\t1"));
    EXPECT_EQ(lines[3], QStringLiteral("sizeCount\t2\t1"));
    EXPECT_EQ(lines[14], QStringLiteral("sizeBytes\t1\t5000"));
    EXPECT_EQ(lines[26], QStringLiteral("accessCount\t0\t0"));
    EXPECT_TRUE(lines[86].startsWith(QStringLiteral("hourAccessed\t1\t")));
    EXPECT_EQ(lines[227], QStringLiteral("nHidden\t0"));
    EXPECT_EQ(lines[235],
              QStringLiteral("waste4K\t") + QString::number(3192 + 4096 - 20000 % 4096));
    EXPECT_EQ(lines[240], QStringLiteral("type\t.DOC\t1\t5000"));
    EXPECT_EQ(lines[241], QStringLiteral("type\t.TXT\t1\t20000"));
}

}  // namespace
}  // namespace vastel
