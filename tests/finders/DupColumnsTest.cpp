#include "core/DateTexts.h"
#include "core/GridModel.h"
#include "core/SortGrid.h"
#include "core/Utility.h"
#include "finders/DupColumns.h"
#include "finders/DupFinder.h"
#include "platform/PackedStamp.h"
#include "support/LocaleScope.h"

#include <gtest/gtest.h>
#include <random>

namespace vastel {
namespace {

using test::kEnglishUs;
using test::kGerman;
using test::LocaleScope;

const std::vector<QString> kTypes = {"Text Document", "ZIP Archive", "b", "B", "\u00e9t\u00e9", ""};

ResultRecord recordOf(const QByteArray& folder, const QByteArray& name, qint64 size,
                      quint32 modified, quint32 accessed, qint32 type) {
    ResultRecord r;
    r.setPath(joinPath(folder, name), folder.size());
    r.size = size;
    r.modified = modified;
    r.accessed = accessed;
    r.type = type;
    return r;
}

// The texts of every column, as the grid shows them.
TEST(DupColumns, CellTextsPerColumn) {
    LocaleScope locale(kEnglishUs);
    const quint32 stamp = packDosStamp(2023, 11, 14, 22, 13, 20);
    const quint32 access = packDosStamp(2024, 2, 29, 0, 0, 0);
    const ResultRecord r =
        recordOf("/data/Sub dir", "Big File.DAT", 5'368'709'121, stamp, access, 1);
    const ResultRecord bare = recordOf("/", "n\xff", 0, 0, 0, -1);
    struct Case {
        FinderMode mode;
        const ResultRecord* record;
        QStringList texts;
    };
    const Case cases[] = {
        {FinderMode::Duplicates,
         &r,
         {"Big File.DAT", "5,368,709,121", fileDateText(stamp), fileTimeText(stamp),
          fileDateText(access), "/data/Sub dir", "ZIP Archive"}},
        {FinderMode::FileHogs,
         &r,
         {"5,368,709,121", fileDateText(stamp), fileTimeText(stamp), fileDateText(access),
          "/data/Sub dir/Big File.DAT", "ZIP Archive"}},
        // No stamps, no type, a name that is not UTF-8, a file in the root.
        {FinderMode::Duplicates, &bare, {"n\ufffd", "0", "", "", "", "/", ""}},
        {FinderMode::FileHogs, &bare, {"0", "", "", "", "/n\ufffd", ""}},
    };
    for (const Case& c : cases) {
        const DupColumns columns(c.mode, StampTexts(), kTypes);
        const QStringList& headers =
            c.mode == FinderMode::Duplicates ? duplicateHeaders() : fileHogHeaders();
        ASSERT_EQ(columns.count(), headers.size());
        QStringList texts;
        for (int k = 0; k < columns.count(); ++k) texts << columns.text(*c.record, k);
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(columns.text(*c.record, columns.count()), QString());
    }
}

// Records with many equal and some odd values: sizes whose texts order otherwise than their
// numbers, dates whose two-digit years fall in the previous hundred years, stamps that are not
// dates, names beyond ASCII and not UTF-8.
std::vector<ResultRecord> mixedRecords(int n) {
    std::mt19937 random(99);
    const auto pick = [&](int k) { return int(random() % unsigned(k)); };
    const qint64 sizes[] = {
        0, 5, 999, 1000, 1'000'000, 20'480, (qint64(5) << 30) + 1, qint64(1) << 62};
    const quint32 stamps[] = {
        0,
        packDosStamp(1980, 1, 1, 0, 0, 0),
        packDosStamp(2023, 11, 14, 22, 13, 20),
        packDosStamp(2023, 11, 14, 8, 0, 2),
        packDosStamp(2024, 2, 29, 12, 0, 0),
        packDosStamp(2050, 6, 1, 10, 0, 0),  // "6/1/50": read back as 1950
        packDosStamp(2107, 12, 31, 23, 59, 58),
        (quint32((2020 - 1980) << 9 | 13 << 5 | 1) << 16) | 0x1234,  // month 13
        (quint32((2020 - 1980) << 9 | 1 << 5 | 1) << 16) | 0xFFFF,   // no such time
    };
    const QByteArray folders[] = {"/data", "/data/Sub", "/data/sub", "/\xc3\xa9t\xc3\xa9", "/"};
    const QByteArray names[] = {"a.txt", "A.TXT", "b", "\xc3\x89T\xc3\x89", "n\xff", "zz", "B"};
    std::vector<ResultRecord> records;
    for (int i = 0; i < n; ++i) {
        // The index keeps every path apart, so that the orders can be compared by path.
        ResultRecord r =
            recordOf(folders[pick(5)],
                     names[pick(7)] + QByteArray::number(i % 3) + "." + QByteArray::number(i),
                     sizes[pick(8)], stamps[pick(9)], stamps[pick(9)],
                     qint32(pick(int(kTypes.size()) + 1)) - 1);
        r.marked = i % 3 == 0;
        r.shade = i % 2 ? GridShade::A : GridShade::B;
        records.push_back(std::move(r));
    }
    return records;
}

// The paths in grid order, one a line.
std::string pathsOf(const GridModel& grid) {
    QByteArrayList out;
    for (int r = 0; r < grid.rowCount(); ++r) out << grid.path(r);
    return out.join('\n').toStdString();
}

// A grid of records sorts exactly like a grid of the same texts: every column, every key, both
// directions, in locales with other separators and date formats. Equal keys must be equal in
// both, or the quicksort's exchanges would leave another order.
TEST(DupColumns, RecordKeysSortLikeTheTextsOfTheCells) {
    const QLocale locales[] = {kEnglishUs, kGerman, QLocale(QStringLiteral("fr_FR")),
                               QLocale(QStringLiteral("ar_EG"))};
    using Sort = void (*)(GridModel&, int, int, bool, int);
    const std::pair<const char*, Sort> sorts[] = {
        {"text", sortGridByText}, {"number", sortGridByNumber}, {"date", sortGridByDate}};
    const std::vector<ResultRecord> records = mixedRecords(400);
    for (const QLocale& l : locales) {
        LocaleScope locale(l);
        for (const FinderMode mode : {FinderMode::Duplicates, FinderMode::FileHogs}) {
            auto columns = std::make_shared<DupColumns>(mode, StampTexts(), kTypes);
            std::vector<GridRow> texts;
            for (const ResultRecord& r : records) {
                GridRow row;
                for (int c = 0; c < columns->count(); ++c) row.cells << columns->text(r, c);
                row.path = r.path();
                texts.push_back(std::move(row));
            }
            for (const auto& [kind, sort] : sorts) {
                for (int column = 0; column < columns->count(); ++column) {
                    for (const bool descending : {false, true}) {
                        GridModel byRecords(QStringList(columns->count(), "h"));
                        byRecords.setRecords(columns, records);
                        GridModel byTexts(QStringList(columns->count(), "h"));
                        byTexts.appendRows(texts);
                        sort(byRecords, 0, byRecords.rowCount() - 1, descending, column);
                        sort(byTexts, 0, byTexts.rowCount() - 1, descending, column);
                        ASSERT_EQ(pathsOf(byRecords), pathsOf(byTexts))
                            << l.name().toStdString() << " mode " << int(mode) << " " << kind
                            << " column " << column << (descending ? " descending" : "");
                    }
                }
            }
        }
    }
}

// Records move whole in the grid: path, mark and shade stay together, and the cells follow.
TEST(DupColumns, GridRowsOfRecordsMoveWhole) {
    LocaleScope locale(kEnglishUs);
    auto columns = std::make_shared<DupColumns>(FinderMode::FileHogs, StampTexts(), kTypes);
    std::vector<ResultRecord> records = mixedRecords(50);
    GridModel grid(fileHogHeaders());
    grid.setRecords(columns, records);
    ASSERT_EQ(grid.rowCount(), 50);
    grid.setMarked(1, !records[1].marked);
    records[1].marked = !records[1].marked;
    sortLargestFirst(grid);
    for (int r = 0; r < grid.rowCount(); ++r) {
        const QByteArray& path = grid.path(r);
        const ResultRecord& original = records[size_t(path.mid(path.lastIndexOf('.') + 1).toInt())];
        EXPECT_EQ(grid.isMarked(r), original.marked);
        EXPECT_EQ(grid.shade(r), original.shade);
        EXPECT_EQ(grid.cell(r, 0), thousandsText(original.size));
        EXPECT_EQ(grid.cell(r, 4), QString::fromUtf8(original.path()));
        EXPECT_EQ(grid.data(grid.index(r, 4)).toString(), grid.cell(r, 4));
        if (r > 0) {
            EXPECT_LE(grid.record(r).size, grid.record(r - 1).size);
        }
    }
    // Text rows have no place in a grid of records; an emptied grid takes them again.
    grid.appendRow({{"x"}, "/x", false, GridShade::None});
    EXPECT_EQ(grid.rowCount(), 50);
    grid.clear();
    EXPECT_EQ(grid.columns(), nullptr);
    grid.appendRow({{"x"}, "/x", false, GridShade::None});
    EXPECT_EQ(grid.cell(0, 0), QStringLiteral("x"));
}

}  // namespace
}  // namespace vastel
