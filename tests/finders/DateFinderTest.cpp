// The files-by-date engine: the range test on calendar dates, the dates of an entry, the walk
// in a zone with daylight saving, and vastel-scan dates.
#include "finders/DateFinder.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <cstdlib>
#include <ctime>

namespace vastel {
namespace {

using test::TempTree;

struct RangeCase {
    DateRange when;
    int offset;  // days from the start; the end is start + 2
    bool listed;
};

TEST(QinDateRange, BoundsAreInclusiveCalendarDays) {
    const QDate start(2024, 3, 31), end(2024, 4, 2);
    const RangeCase cases[] = {
        {DateRange::Before, -1, true},  {DateRange::Before, 0, true},
        {DateRange::Before, 1, false},  {DateRange::Between, -1, false},
        {DateRange::Between, 0, true},  {DateRange::Between, 2, true},
        {DateRange::Between, 3, false}, {DateRange::After, -1, false},
        {DateRange::After, 0, true},    {DateRange::After, 1, true},
    };
    for (const RangeCase& c : cases)
        EXPECT_EQ(QinDateRange(start.addDays(c.offset), c.when, start, end), c.listed)
            << int(c.when) << " " << c.offset;
    // A file without such a date is listed by "On or Before" only.
    EXPECT_TRUE(QinDateRange(std::nullopt, DateRange::Before, start, end));
    EXPECT_FALSE(QinDateRange(std::nullopt, DateRange::Between, start, end));
    EXPECT_FALSE(QinDateRange(std::nullopt, DateRange::After, start, end));
}

// An entry as a walk on a file system without birth times gives it.
DirEntry entryWithoutBirthTime() {
    DirEntry e;
    e.name = "f.txt";
    e.size = 5;
    e.lastWriteTime = e.lastAccessTime = 1'700'000'000;
    e.lastWrite = e.lastAccess = 0x57000000;  // some day in 2023
    e.hasCreation = false;
    e.creation = 0;
    return e;
}

TEST(DateFinder, WithoutBirthTimesNoFileMatchesCreatedAndNoneShowsACreationDate) {
    const DirEntry e = entryWithoutBirthTime();
    EXPECT_FALSE(entryDate(e, DateKind::Created).has_value());
    EXPECT_TRUE(entryDate(e, DateKind::Modified).has_value());
    const QByteArray folder = "/x";
    const WalkFile file{folder, e};
    for (const DateRange when : {DateRange::Between, DateRange::After}) {
        DateOptions o;
        o.what = DateKind::Created;
        o.when = when;
        o.start = QDate(1601, 1, 1);
        o.end = QDate(9999, 12, 31);
        DateCollection collection(o);
        EXPECT_FALSE(collection.accepts(file)) << int(when);
    }
    DateOptions before;
    before.what = DateKind::Created;
    before.when = DateRange::Before;
    before.start = QDate(1601, 1, 1);
    DateCollection collection(before);
    ASSERT_TRUE(collection.accepts(file));
    collection.collect(file);
    const std::vector<ResultRecord> rows = collection.takeNew();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(collection.columns()->text(rows[0], 2), QString());    // Created
    EXPECT_FALSE(collection.columns()->text(rows[0], 3).isEmpty());  // Modified
}

// Runs the test in a zone for its duration.
class ZoneScope {
  public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old, had_ = true;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ZoneScope() {
        if (had_)
            ::setenv("TZ", old_.constData(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }

  private:
    QByteArray old_;
    bool had_ = false;
};

// The tests in a zone with daylight saving need its rules (Debian's tzdata).
bool haveBerlin() { return QFile::exists(QStringLiteral("/usr/share/zoneinfo/Europe/Berlin")); }

time_t utc(int y, int mo, int d, int h, int mi) {
    tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = mo - 1;
    t.tm_mday = d;
    t.tm_hour = h;
    t.tm_min = mi;
    return ::timegm(&t);
}

QStringList namesOf(const DateRun& run) {
    QStringList names;
    for (const ResultRecord& r : run.records) names << QString::fromUtf8(r.name());
    names.sort();
    return names;
}

struct ZoneCase {
    DateRange when;
    QDate start, end;
    QStringList names;
};

TEST(DateFinder, LocalCalendarDaysAcrossDaylightSavingAndBeyondThePackedYears) {
    if (!haveBerlin()) GTEST_SKIP() << "no time-zone rules for Europe/Berlin (tzdata)";
    ZoneScope berlin("Europe/Berlin");
    TempTree tree;
    // Local times in brackets: the day is the local one, not the UTC one.
    tree.createFile("mar-a", 1, utc(2024, 3, 30, 23, 30));   // 31 Mar 00:30 CET
    tree.createFile("mar-b", 1, utc(2024, 3, 31, 21, 59));   // 31 Mar 23:59 CEST
    tree.createFile("mar-c", 1, utc(2024, 3, 31, 22, 0));    // 1 Apr 00:00 CEST
    tree.createFile("oct-a", 1, utc(2024, 10, 26, 22, 0));   // 27 Oct 00:00 CEST
    tree.createFile("oct-b", 1, utc(2024, 10, 27, 22, 59));  // 27 Oct 23:59 CET
    tree.createFile("oct-c", 1, utc(2024, 10, 27, 23, 0));   // 28 Oct 00:00 CET
    tree.createFile("old", 1, utc(1975, 5, 5, 12, 0));
    tree.createFile("far", 1, utc(2200, 1, 1, 12, 0));
    const ZoneCase cases[] = {
        {DateRange::Between, QDate(2024, 3, 31), QDate(2024, 3, 31), {"mar-a", "mar-b"}},
        {DateRange::Between, QDate(2024, 10, 27), QDate(2024, 10, 27), {"oct-a", "oct-b"}},
        {DateRange::Before, QDate(2024, 3, 30), {}, {"old"}},
        {DateRange::Before, QDate(2024, 3, 31), {}, {"mar-a", "mar-b", "old"}},
        {DateRange::After, QDate(2024, 10, 28), {}, {"far", "oct-c"}},
        {DateRange::Between, QDate(1975, 5, 5), QDate(1975, 5, 5), {"old"}},
        {DateRange::After, QDate(2108, 1, 1), {}, {"far"}},
    };
    for (const ZoneCase& c : cases) {
        DateOptions o;
        o.what = DateKind::Modified;
        o.when = c.when;
        o.start = c.start;
        o.end = c.end.isValid() ? c.end : c.start;
        ScanTarget target;
        target.root = tree.root();
        WalkProgress quiet;
        StopToken stop;
        const DateRun run = runDateFinder({target}, o, quiet, stop);
        EXPECT_EQ(namesOf(run), c.names) << c.start.toString(Qt::ISODate).toStdString();
    }
}

struct Outcome {
    QByteArray out, err;
    int code = -1;
};

Outcome dates(const QStringList& arguments, const char* zone = nullptr) {
    QProcess p;
    if (zone) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TZ"), QString::fromLatin1(zone));
        p.setProcessEnvironment(env);
    }
    p.start(QStringLiteral(VASTEL_SCAN_PATH), QStringList{QStringLiteral("dates")} + arguments);
    Outcome r;
    if (!p.waitForFinished(60000)) return r;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    r.code = p.exitCode();
    return r;
}

TEST(ScanDatesCommand, PrintsTheRowsInRangeWithTheEscapedPathLast) {
    if (!haveBerlin()) GTEST_SKIP() << "no time-zone rules for Europe/Berlin (tzdata)";
    TempTree tree;
    tree.createFile("in\tside.doc", 2048, utc(2024, 10, 26, 22, 0));
    tree.createFile("skip.txt", 1, utc(2024, 10, 26, 22, 0));
    tree.createFile("out.doc", 1, utc(2024, 10, 26, 21, 59));
    tree.createFile(".hidden.doc", 1, utc(2024, 10, 26, 22, 0));
    const Outcome r =
        dates({"--what", "modified", "--when", "between", "--start", "2024-10-27", "--end",
               "2024-10-27", "--pattern", "*.doc", QFile::decodeName(tree.root())},
              "Europe/Berlin");
    EXPECT_EQ(r.code, 0) << r.err.constData();
    const QByteArrayList lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 2) << r.out.constData();
    const QByteArrayList cells = lines[0].split('\t');
    ASSERT_EQ(cells.size(), 8);
    EXPECT_EQ(cells[0], "in\\tside.doc");
    EXPECT_EQ(cells[4], "2,048");
    EXPECT_EQ(cells[5], tree.root());
    EXPECT_EQ(cells[7], tree.path("in\\tside.doc"));
}

TEST(ScanDatesCommand, FoldersOfEqualLengthKeepTheirOwnPaths) {
    TempTree tree;
    QByteArrayList expected;
    for (const char* f : {"a1/x", "a2/x", "b3/x", "a1/s1/y", "a1/s2/y"})
        expected << tree.createFile(f, 1, utc(2024, 5, 5, 12, 0));
    const Outcome r = dates({"--what", "modified", "--when", "after", "--start", "2024-01-01",
                             QFile::decodeName(tree.root())});
    QByteArrayList paths, folders;
    for (const QByteArray& line : r.out.split('\n'))
        if (!line.isEmpty()) {
            const QByteArrayList cells = line.split('\t');
            paths << cells.last();
            folders << cells[5] + '/' + cells[0];
        }
    std::sort(paths.begin(), paths.end());
    std::sort(folders.begin(), folders.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(paths, expected);
    EXPECT_EQ(folders, expected);
}

TEST(ScanDatesCommand, BadArgumentsExitWithTwoAndSayWhy) {
    const QStringList target{QStringLiteral("/tmp")};
    const struct {
        QStringList args;
        const char* says;
    } cases[] = {
        {QStringList{"--when", "before", "--start", "2024-01-01"} + target, "--what is needed"},
        {QStringList{"--what", "born", "--when", "before", "--start", "2024-01-01"} + target,
         "--what is accessed, created or modified"},
        {QStringList{"--what", "created", "--when", "around", "--start", "2024-01-01"} + target,
         "--when is before, between or after"},
        {QStringList{"--what", "created", "--when", "after"} + target, "--start is needed"},
        {QStringList{"--what", "created", "--when", "after", "--start", "2024-02-30"} + target,
         "a date is YYYY-MM-DD"},
        {QStringList{"--what", "created", "--when", "after", "--start", "1/2/2024"} + target,
         "a date is YYYY-MM-DD"},
        {QStringList{"--what", "created", "--when", "between", "--start", "2024-01-01"} + target,
         "--when between needs --end"},
        {QStringList{"--what", "created", "--when", "between", "--start", "2024-01-02", "--end",
                     "2024-01-01"} +
             target,
         "--end lies before --start"},
        {QStringList{"--what", "created", "--when", "after", "--start", "2024-01-01"},
         "no target given"},
        {QStringList{"--what", "created", "--when", "after", "--start", "2024-01-01", "--x"},
         "unknown option"},
    };
    for (const auto& c : cases) {
        const Outcome r = dates(c.args);
        EXPECT_EQ(r.code, 2) << c.says;
        EXPECT_TRUE(r.err.startsWith(QByteArray("vastel-scan dates: ") + c.says))
            << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty());
    }
}

}  // namespace
}  // namespace vastel
