#include "core/GridModel.h"
#include "core/ParallelFor.h"
#include "core/RangeSort.h"
#include "core/ShortDateReader.h"
#include "core/SortGrid.h"
#include "core/Utility.h"
#include "support/LocaleScope.h"

#include <gtest/gtest.h>
#include <QDate>
#include <algorithm>
#include <functional>
#include <random>

namespace vastel {
namespace {

using test::kEnglishUs;
using test::kGerman;
using test::LocaleScope;

enum class Kind { Text, Number, Date };

// The sort written out plainly, step by step, as a second opinion on the real one: a text
// scratch table of row numbers and key cells, keys read again at every comparison, a recursive
// quicksort, and rows copied through a second grid.
class ReferenceSort {
  public:
    ReferenceSort(Kind kind, bool descending) : kind_(kind), descending_(descending) {}

    std::vector<GridRow> sorted(const std::vector<GridRow>& grid, int first, int last, int column) {
        std::vector<std::pair<QString, QString>> scratch(grid.size());
        for (int r = first; r <= last; ++r)
            scratch[size_t(r)] = {QString::number(r), grid[size_t(r)].cell(column)};
        sortRange(scratch, first, last);
        std::vector<GridRow> second(grid.size());
        for (int r = first; r <= last; ++r)
            second[size_t(r)] = grid[size_t(safeStrToInt(scratch[size_t(r)].first))];
        std::vector<GridRow> result = grid;
        for (int r = first; r <= last; ++r) result[size_t(r)] = second[size_t(r)];
        return result;
    }

  private:
    using Scratch = std::vector<std::pair<QString, QString>>;

    // -1, 0 or 1 as the key of a is below, equal to or above the key of b.
    int compare(const QString& a, const QString& b) const {
        switch (kind_) {
            case Kind::Text: {
                const std::string x = textKey(a), y = textKey(b);
                return x < y ? -1 : y < x ? 1 : 0;
            }
            case Kind::Number: {
                const long double x = numberKey(a), y = numberKey(b);
                return x < y ? -1 : y < x ? 1 : 0;
            }
            case Kind::Date: {
                const double x = dateKey(a), y = dateKey(b);
                return x < y ? -1 : y < x ? 1 : 0;
            }
        }
        return 0;
    }
    // The order wanted: "a comes before b".
    bool before(const QString& a, const QString& b) const {
        const int c = compare(a, b);
        return descending_ ? c > 0 : c < 0;
    }

    void sortRange(Scratch& s, int lo, int hi) {
        if (kind_ == Kind::Text && hi - lo < 5) {
            bool exchanged = true;
            while (exchanged) {
                exchanged = false;
                for (int k = lo; k <= hi - 1; ++k) {
                    if (before(s[size_t(k + 1)].second, s[size_t(k)].second)) {
                        std::swap(s[size_t(k)], s[size_t(k + 1)]);
                        exchanged = true;
                    }
                }
            }
            return;
        }
        if (lo >= hi) return;
        int i = lo, j = hi;
        const QString pivot = s[size_t((lo + hi) / 2)].second;
        while (i <= j) {
            while (before(s[size_t(i)].second, pivot)) ++i;
            while (before(pivot, s[size_t(j)].second)) --j;
            if (i <= j) {
                std::swap(s[size_t(i)], s[size_t(j)]);
                ++i;
                --j;
            }
        }
        sortRange(s, lo, j);
        sortRange(s, i, hi);
    }

    Kind kind_;
    bool descending_;
};

void runSort(Kind kind, GridModel& grid, int first, int last, bool descending, int column) {
    switch (kind) {
        case Kind::Text:
            return sortGridByText(grid, first, last, descending, column);
        case Kind::Number:
            return sortGridByNumber(grid, first, last, descending, column);
        case Kind::Date:
            return sortGridByDate(grid, first, last, descending, column);
    }
}

// Rows whose column 0 holds the given texts and column 1 their original position; the path
// carries the position too, so that it can be checked to travel with the row.
std::vector<GridRow> rowsOf(const QStringList& keys) {
    std::vector<GridRow> rows;
    for (int i = 0; i < keys.size(); ++i) {
        GridRow row;
        row.cells = {keys[i], QString::number(i)};
        row.path = "/data/file" + QByteArray::number(i);
        row.marked = i % 3 == 0;
        row.shade = i % 2 ? GridShade::A : GridShade::B;
        rows.push_back(row);
    }
    return rows;
}

std::unique_ptr<GridModel> gridOf(const std::vector<GridRow>& rows) {
    auto grid = std::make_unique<GridModel>(QStringList{"Key", "Origin"});
    grid->appendRows(rows);
    return grid;
}

QStringList column(const GridModel& grid, int c) {
    QStringList out;
    for (int r = 0; r < grid.rowCount(); ++r) out.append(grid.cell(r, c));
    return out;
}

// Every row still carries its own path, mark and shade.
void expectRowsWhole(const GridModel& grid) {
    for (int r = 0; r < grid.rowCount(); ++r) {
        const int origin = grid.cell(r, 1).toInt();
        EXPECT_EQ(grid.path(r), "/data/file" + QByteArray::number(origin));
        EXPECT_EQ(grid.isMarked(r), origin % 3 == 0);
        EXPECT_EQ(grid.shade(r), origin % 2 ? GridShade::A : GridShade::B);
    }
}

void expectSameAsReference(Kind kind, const QStringList& keys, int first, int last,
                           bool descending) {
    const std::vector<GridRow> rows = rowsOf(keys);
    auto grid = gridOf(rows);
    runSort(kind, *grid, first, last, descending, 0);
    const std::vector<GridRow> expected =
        ReferenceSort(kind, descending).sorted(rows, first, last, 0);
    QStringList expectedOrigins;
    for (const GridRow& r : expected) expectedOrigins.append(r.cell(1));
    ASSERT_EQ(column(*grid, 1), expectedOrigins)
        << "first " << first << " last " << last << (descending ? " descending" : " ascending");
    expectRowsWhole(*grid);
}

struct ExampleCase {
    const char* name;
    Kind kind;
    bool german;
    bool descending;
    QStringList keys;
    QStringList expected;  // column 0 after sorting all rows
};

class GridSortExamples : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(GridSortExamples, SortsInTheAlgorithmsOrder) {
    const ExampleCase& c = GetParam();
    LocaleScope locale(c.german ? kGerman : kEnglishUs);
    auto grid = gridOf(rowsOf(c.keys));
    runSort(c.kind, *grid, 0, grid->rowCount() - 1, c.descending, 0);
    EXPECT_EQ(column(*grid, 0), c.expected);
    expectRowsWhole(*grid);
    // The hand-worked order is also the reference's.
    expectSameAsReference(c.kind, c.keys, 0, int(c.keys.size()) - 1, c.descending);
}

const QString kEmpty;

INSTANTIATE_TEST_SUITE_P(
    Cases, GridSortExamples,
    ::testing::Values(
        // Five rows or fewer: exchange passes, so equal keys keep their order here.
        ExampleCase{"TextFoldsOnlyAsciiLetters",
                    Kind::Text,
                    false,
                    false,
                    {"b", "A", "a", "B"},
                    {"A", "a", "b", "B"}},
        ExampleCase{
            "TextDescending", Kind::Text, false, true, {"b", "A", "a", "B"}, {"b", "B", "A", "a"}},
        // Accented letters are not folded and sort after every ASCII letter; a proper
        // beginning sorts first.
        ExampleCase{"TextAccentsByCodePoint",
                    Kind::Text,
                    false,
                    false,
                    {"\u00e9t\u00e9", "zoo", "\u00c9T\u00c9", "Zo"},
                    {"Zo", "zoo", "\u00c9T\u00c9", "\u00e9t\u00e9"}},
        // Six rows: the quicksort, which exchanges equal keys (not stable).
        ExampleCase{"TextQuicksortIsNotStable",
                    Kind::Text,
                    false,
                    false,
                    {"b1", "a", "A", "B1", "c", "a"},
                    {"a", "A", "a", "B1", "b1", "c"}},
        ExampleCase{"NumberIgnoresSeparatorsAndWords",
                    Kind::Number,
                    false,
                    false,
                    {"1,234", "DELETED", "999", "12,000", kEmpty, "RECYCLED"},
                    {kEmpty, "DELETED", "RECYCLED", "999", "1,234", "12,000"}},
        ExampleCase{"NumberDescendingBySize",
                    Kind::Number,
                    false,
                    true,
                    {"1,234", "2 KB", "-5", "12,000", "1.5", "0"},
                    {"12,000", "1,234", "-5", "2 KB", "1.5", "0"}},
        ExampleCase{"NumberGermanDecimalComma",
                    Kind::Number,
                    true,
                    false,
                    {"1.500", "1,5", "2", "1,25", "10", "1.000,5"},
                    {"1,25", "1,5", "2", "10", "1.000,5", "1.500"}},
        ExampleCase{"DateUnreadableWithTheOldest",
                    Kind::Date,
                    false,
                    false,
                    {"3/1/24", kEmpty, "12/31/99", "1/5/24 10:00:00", "1/1/00", "2/29/24"},
                    {kEmpty, "1/5/24 10:00:00", "12/31/99", "1/1/00", "2/29/24", "3/1/24"}},
        ExampleCase{"DateGermanDescending",
                    Kind::Date,
                    true,
                    true,
                    {"05.01.24", "31.12.99", "1/5/24", "06.01.24", "01.01.00", kEmpty},
                    {"06.01.24", "05.01.24", "01.01.00", "31.12.99", kEmpty, "1/5/24"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Many rows with few distinct keys: the quicksort's treatment of equal keys decides the order.
TEST(GridSortTest, MatchesTheAlgorithmOnRandomTables) {
    LocaleScope locale(kEnglishUs);
    std::mt19937 random(20240105);
    const auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const QStringList words = {"alpha", "Alpha", "beta", "BETA", "b", "", "\u00e9clair", "zeta"};
    for (const Kind kind : {Kind::Text, Kind::Number, Kind::Date}) {
        for (const int size : {2, 5, 6, 7, 31, 200}) {
            for (int round = 0; round < 4; ++round) {
                QStringList keys;
                for (int i = 0; i < size; ++i) {
                    switch (kind) {
                        case Kind::Text:
                            keys.append(words[pick(int(words.size()))]);
                            break;
                        case Kind::Number:
                            keys.append(pick(5) == 0 ? QStringLiteral("DELETED")
                                                     : thousandsText(pick(8) * 1000));
                            break;
                        case Kind::Date:
                            keys.append(pick(6) == 0 ? QString()
                                                     : QStringLiteral("%1/%2/2%3")
                                                           .arg(1 + pick(2))
                                                           .arg(1 + pick(3))
                                                           .arg(pick(2)));
                            break;
                    }
                }
                const int first = round < 2 ? 0 : pick(size);
                const int last = round < 2 ? size - 1 : first + pick(size - first);
                for (const bool descending : {false, true})
                    expectSameAsReference(kind, keys, first, last, descending);
            }
        }
    }
}

TEST(GridSortTest, TouchesOnlyTheRange) {
    LocaleScope locale(kEnglishUs);
    // The statistics type list keeps its totals row last by sorting one row less.
    const QStringList keys = {"5", "1", "4", "2", "3", "100"};
    auto grid = gridOf(rowsOf(keys));
    sortGridByNumber(*grid, 0, 4, true, 0);
    EXPECT_EQ(column(*grid, 0), (QStringList{"5", "4", "3", "2", "1", "100"}));
    sortGridByNumber(*grid, 1, 3, false, 0);
    EXPECT_EQ(column(*grid, 0), (QStringList{"5", "2", "3", "4", "1", "100"}));
    expectRowsWhole(*grid);
}

TEST(GridSortTest, DegenerateRequestsLeaveTheGridAlone) {
    LocaleScope locale(kEnglishUs);
    const QStringList keys = {"c", "b", "a"};
    auto grid = gridOf(rowsOf(keys));
    sortGridByText(*grid, 1, 1, false, 0);    // one row
    sortGridByText(*grid, 2, 1, false, 0);    // empty range
    sortGridByText(*grid, 0, 2, false, 7);    // no such column
    sortGridByText(*grid, 0, 2, false, -1);   // no such column
    sortGridByNumber(*grid, 5, 9, false, 0);  // entirely past the end
    EXPECT_EQ(column(*grid, 0), keys);
    // A range that reaches past the grid is clipped to it.
    sortGridByText(*grid, -3, 50, false, 0);
    EXPECT_EQ(column(*grid, 0), (QStringList{"a", "b", "c"}));
    GridModel empty(QStringList{"Key"});
    sortGridByDate(empty, 0, 10, true, 0);
    EXPECT_EQ(empty.rowCount(), 0);
}

TEST(GridSortTest, SortingTwiceWithTheFlagFlippedReverses) {
    LocaleScope locale(kEnglishUs);
    auto grid = gridOf(rowsOf({"1,000", "20", "300", "4", "50,000", "6", "70"}));
    bool descending = true;  // a finder's flag for its Size column
    sortGridByNumber(*grid, 0, grid->rowCount() - 1, descending, 0);
    descending = !descending;
    EXPECT_EQ(column(*grid, 0), (QStringList{"50,000", "1,000", "300", "70", "20", "6", "4"}));
    sortGridByNumber(*grid, 0, grid->rowCount() - 1, descending, 0);
    EXPECT_EQ(column(*grid, 0), (QStringList{"4", "6", "20", "70", "300", "1,000", "50,000"}));
}

// The old limit of 65,535 rows is gone: far larger grids sort like any other.
TEST(GridSortTest, SortsBeyondSixteenBitRowNumbers) {
    LocaleScope locale(kEnglishUs);
    const int n = 70000;
    std::vector<GridRow> rows(n);
    for (int i = 0; i < n; ++i) {
        rows[size_t(i)].cells = {thousandsText((i * 7919LL) % n), QString::number(i)};
        rows[size_t(i)].path = QByteArray::number(i);
    }
    GridModel grid(QStringList{"Size", "Origin"});
    grid.appendRows(std::move(rows));
    sortGridByNumber(grid, 0, n - 1, false, 0);
    for (int r = 0; r < n; ++r) {
        ASSERT_EQ(grid.cell(r, 0), thousandsText(r));
        ASSERT_EQ(grid.path(r), grid.cell(r, 1).toUtf8());
    }
}

// Keys that rise to a peak and fall again make every partition split off one row. The scans
// then switch to the tree, which must leave exactly the order of the plain scans.
TEST(GridSortTest, PeakedKeysSortInTheAlgorithmsOrderWithoutQuadraticScans) {
    LocaleScope locale(kEnglishUs);
    const int n = 2000;
    QStringList keys;
    for (int i = 0; i < n; ++i) keys.append(QString::number(i < n / 2 ? i : n - i));
    for (const bool descending : {false, true})
        expectSameAsReference(Kind::Number, keys, 0, n - 1, descending);
    QStringList texts;
    for (int i = 0; i < n; ++i) texts.append(QStringLiteral("%1").arg(i < n / 2 ? i : n - i, 5));
    expectSameAsReference(Kind::Text, texts, 0, n - 1, false);

    // The tree is what the peak brings in; ordinary keys are scanned plainly.
    std::vector<ScratchRow<int>> peaked, shuffled;
    std::mt19937 random(3);
    for (int i = 0; i < n; ++i) {
        peaked.push_back({i < n / 2 ? i : n - i, i});
        shuffled.push_back({int(random() % 500), i});
    }
    RangeSorter peakedSorter(peaked, std::less<int>(), false);
    peakedSorter.sort(0, n - 1);
    EXPECT_TRUE(peakedSorter.usedTree());
    RangeSorter shuffledSorter(shuffled, std::less<int>(), false);
    shuffledSorter.sort(0, n - 1);
    EXPECT_FALSE(shuffledSorter.usedTree());
}

// The tree's scans against the plain ones, from the first partition on, over keys with many
// repeats in both directions, with and without the exchange passes of the text sort.
TEST(GridSortTest, TreeScansLeaveThePlainScansOrder) {
    std::mt19937 random(7);
    for (const int size : {70, 300, 2500}) {
        for (const int distinct : {2, 10, 1000}) {
            std::vector<ScratchRow<int>> keys;
            for (int i = 0; i < size; ++i) keys.push_back({int(random() % unsigned(distinct)), i});
            for (const bool passes : {false, true}) {
                const auto check = [&](auto before) {
                    auto plain = keys;
                    auto withTree = keys;
                    RangeSorter(plain, before, passes, INT64_MAX).sort(0, size - 1);
                    RangeSorter treeSorter(withTree, before, passes, 0);
                    treeSorter.sort(0, size - 1);
                    EXPECT_TRUE(treeSorter.usedTree());
                    for (int i = 0; i < size; ++i)
                        ASSERT_EQ(plain[size_t(i)].row, withTree[size_t(i)].row)
                            << size << " " << distinct << " " << passes << " at " << i;
                };
                check(std::less<int>());
                check(std::greater<int>());
            }
        }
    }
}

struct NumberCase {
    const char* text;
    long double expected;
};

TEST(GridSortKeysTest, NumberKeyKeepsDigitsAndTheDecimalSeparator) {
    {
        LocaleScope locale(kEnglishUs);
        const NumberCase cases[] = {
            {"1,234,567", 1234567.0L},
            {"DELETED", 0.0L},
            {"", 0.0L},
            {"-5", 5.0L},  // the sign is dropped: negatives sort by their size
            {"1.5 MB", 1.5L},
            {"1.2.3", 0.0L},  // two separators
            {".", 0.0L},
            {"5.", 5.0L},
            {".25", 0.25L},
            {"1e5", 15.0L},                  // the exponent letter is no digit
            {"\u0661\u0662\u0663", 123.0L},  // native digits count as digits
            // Byte counts up to 2^64 - 1 keep every digit.
            {"18,446,744,073,709,551,615", 18446744073709551615.0L},
            {"18446744073709551616", 18446744073709551616.0L},
        };
        for (const NumberCase& c : cases)
            EXPECT_EQ(numberKey(QString::fromUtf8(c.text)), c.expected) << c.text;
        // Extended precision tells apart what a double would not.
        EXPECT_LT(numberKey("9,007,199,254,740,992"), numberKey("9,007,199,254,740,993"));
        // Too large for any floating-point type: unreadable.
        EXPECT_EQ(numberKey(QString(6000, QLatin1Char('9'))), 0.0L);
    }
    LocaleScope locale(kGerman);
    const NumberCase cases[] = {{"1,5", 1.5L},
                                {"1.500", 1500.0L},
                                {"1.234,5 KB", 1234.5L},
                                {"1,2,3", 0.0L},
                                {"1.5", 15.0L}};
    for (const NumberCase& c : cases)
        EXPECT_EQ(numberKey(QString::fromUtf8(c.text)), c.expected) << c.text;
}

struct DateCase {
    const char* locale;
    const char* text;
    QDate expected;  // invalid: unreadable
};

TEST(GridSortKeysTest, DateKeyReadsTheShortDateFormat) {
    const QDate none;
    const DateCase cases[] = {
        {"en_US", "1/5/24", QDate(2024, 1, 5)},
        {"en_US", "01/05/24", QDate(2024, 1, 5)},
        {"en_US", " 1/5/24 ", QDate(2024, 1, 5)},
        {"en_US", "1/5/2024", QDate(2024, 1, 5)},
        {"en_US", "12/31/99", QDate(1999, 12, 31)},
        // Two-digit years fall in the hundred years ending 19 years after 2025.
        {"en_US", "1/1/44", QDate(2044, 1, 1)},
        {"en_US", "1/1/45", QDate(1945, 1, 1)},
        {"en_US", "1/5/24 10:00:00", none},
        {"en_US", "", none},
        {"en_US", "DELETED", none},
        {"en_US", "13/1/24", none},
        {"en_US", "2/30/24", none},
        {"en_US", "1/5", none},
        {"en_US", "1/5/24/", none},
        {"en_US", "1/5/245", none},
        {"de_DE", "05.01.24", QDate(2024, 1, 5)},
        {"de_DE", "5.1.24", QDate(2024, 1, 5)},
        {"de_DE", "05/01/24", none},
        {"en_GB", "05/01/2024", QDate(2024, 1, 5)},
        {"sv_SE", "2024-01-05", QDate(2024, 1, 5)},
        {"ko_KR", "24. 1. 5.", QDate(2024, 1, 5)},
        {"bg_BG", "5.01.24 \u0433.", QDate(2024, 1, 5)},
        {"bg_BG", "5.01.24", none},
        // Formats with month names, and native digits, are read through the locale.
        {"C", "5 Jan 2024", QDate(2024, 1, 5)},
        {"C", "5 Jan 2024 x", none},
        {"ar_EG", "\u0665\u200f/\u0661\u200f/\u0662\u0660\u0662\u0664", QDate(2024, 1, 5)},
    };
    for (const DateCase& c : cases) {
        const ShortDateReader reader{QLocale(QString::fromLatin1(c.locale)), 2025};
        EXPECT_EQ(reader.read(QString::fromUtf8(c.text)), c.expected) << c.locale << " " << c.text;
        EXPECT_EQ(reader.key(QString::fromUtf8(c.text)),
                  ShortDateReader::dayKey(c.expected.isValid() ? c.expected : QDate(1900, 1, 1)));
    }
    // What the grids show reads back as the same day, in every locale's own format.
    for (const char* name : {"en_US", "de_DE", "fr_FR", "ja_JP", "hu_HU", "fi_FI", "C", "ar_EG"}) {
        const QLocale locale{QString::fromLatin1(name)};
        const ShortDateReader reader(locale);
        for (const QDate d : {QDate(1980, 1, 1), QDate(1999, 12, 31), QDate(2024, 2, 29)})
            EXPECT_EQ(reader.read(locale.toString(d, QLocale::ShortFormat)), d) << name;
    }
    LocaleScope locale(kEnglishUs);
    EXPECT_EQ(dateKey(QString()), 2.0);  // 1 January 1900
    EXPECT_EQ(dateKey("1/1/00"), ShortDateReader::dayKey(QDate(2000, 1, 1)));
}

// The sort on several threads: the same order as std::sort where every pair is ordered, and a
// sorted permutation where many keys are equal, over sizes that do and do not split, pivots
// that fall on the smallest key included.
TEST(ParallelSortTest, SameOrderAsOneThread) {
    std::mt19937 random(7);
    struct Item {
        int key;
        int index;
    };
    const auto total = [](const Item& a, const Item& b) {
        return a.key != b.key ? a.key < b.key : a.index < b.index;
    };
    const auto byKey = [](const Item& a, const Item& b) { return a.key < b.key; };
    for (const size_t n : {size_t(0), size_t(1), size_t(7), size_t(5000), size_t(120'001)}) {
        for (const int distinct : {1, 3, 1'000'000}) {
            std::vector<Item> items(n);
            for (size_t i = 0; i < n; ++i) items[i] = {int(random() % unsigned(distinct)), int(i)};
            std::vector<Item> expected = items;
            std::sort(expected.begin(), expected.end(), total);
            std::vector<Item> sorted = items;
            parallelSort(sorted.begin(), sorted.end(), total, 1000);
            ASSERT_TRUE(std::equal(sorted.begin(), sorted.end(), expected.begin(), expected.end(),
                                   [](const Item& a, const Item& b) { return a.index == b.index; }))
                << n << " items, " << distinct << " keys";
            std::vector<Item> weak = items;
            parallelSort(weak.begin(), weak.end(), byKey, 1000);
            ASSERT_TRUE(std::is_sorted(weak.begin(), weak.end(), byKey));
            std::sort(weak.begin(), weak.end(), total);
            ASSERT_TRUE(std::equal(weak.begin(), weak.end(), expected.begin(), expected.end(),
                                   [](const Item& a, const Item& b) { return a.index == b.index; }))
                << "not a permutation: " << n << " items, " << distinct << " keys";
        }
    }
}

}  // namespace
}  // namespace vastel
