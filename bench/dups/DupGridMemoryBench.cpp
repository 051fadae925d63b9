// The heap a file-hog grid needs per row: rows of cell texts, as the finder made them before,
// against result records with the finder's column table. Rows are shaped like a real disk's:
// about ten files a folder, a few hundred distinct dates, a handful of types.
//
// Usage: vastel-bench-dup-grid-memory [ROWS]   (default 1,000,000)
// Also times the window's sorts (size, date, name) on both.
#include "HogRecordValues.h"
#include "core/GridModel.h"
#include "core/SortGrid.h"
#include "core/Utility.h"
#include "finders/DupColumns.h"
#include "finders/DupFinder.h"

#include <malloc.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>

using namespace vastel;

namespace {

size_t heapInUse() { return mallinfo2().uordblks + mallinfo2().hblkhd; }

std::vector<ResultRecord> makeRecords(int n) {
    std::mt19937 random(5);
    std::vector<ResultRecord> records(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        ResultRecord& r = records[size_t(i)];
        const QByteArray folder = hogFolder(i);
        r.setPath(joinPath(folder, hogName(i)), folder.size());
        setHogValues(r, random);
    }
    return records;
}

// The file-hog window's sorts: Size descending, Modified descending, FileName ascending.
void timeSorts(const char* what, GridModel& grid) {
    const int last = grid.rowCount() - 1;
    QElapsedTimer t;
    t.start();
    sortGridByNumber(grid, 0, last, true, 0);
    const double size = t.nsecsElapsed() / 1e9;
    t.restart();
    sortGridByDate(grid, 0, last, true, 1);
    const double date = t.nsecsElapsed() / 1e9;
    t.restart();
    sortGridByText(grid, 0, last, false, 4);
    const double name = t.nsecsElapsed() / 1e9;
    std::printf("%-10s sorts: size %.2f s, date %.2f s, name %.2f s\n", what, size, date, name);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1'000'000;
    const std::vector<QString> types = {"PDF Document", "Text Document", "JPEG Image", "XYZ File"};
    std::vector<ResultRecord> source = makeRecords(n);
    auto columns = std::make_shared<DupColumns>(FinderMode::FileHogs, StampTexts(), types);

    // Text rows: every cell a string of its own, as the collection made them.
    size_t before = heapInUse();
    {
        std::vector<GridRow> rows(source.size());
        for (size_t k = 0; k < source.size(); ++k) {
            for (int c = 0; c < columns->count(); ++c)
                rows[k].cells.append(columns->text(source[k], c));
            rows[k].path = source[k].path();
            rows[k].path.detach();  // a row owns its path
        }
        GridModel grid(fileHogHeaders());
        grid.appendRows(std::move(rows));
        const size_t used = heapInUse() - before;
        std::printf("text rows: %d rows, %.1f MiB, %.0f bytes per row\n", n,
                    double(used) / 1048576.0, double(used) / n);
        timeSorts("text rows", grid);
    }

    before = heapInUse();
    {
        std::vector<ResultRecord> records = source;
        for (ResultRecord& r : records) {
            const QByteArray path = r.path();
            r.setPath(QByteArray(path.constData(), path.size()), r.folder().size());
        }
        GridModel grid(fileHogHeaders());
        grid.setRecords(columns, std::move(records));
        // Texts are made when drawn: a screenful of cells, not a million rows of them.
        for (int r = 0; r < 40; ++r)
            for (int c = 0; c < columns->count(); ++c) (void)grid.cell(r, c);
        const size_t used = heapInUse() - before;
        std::printf("records:   %d rows, %.1f MiB, %.0f bytes per row\n", n,
                    double(used) / 1048576.0, double(used) / n);
        timeSorts("records", grid);
    }
    return 0;
}
