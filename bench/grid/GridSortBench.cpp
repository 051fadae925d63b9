// Times the three grid sorts on a result grid shaped like the file-hog list (size, date, time,
// access date, name, type), on random, sorted, reversed and all-equal columns.
//
//   grid_sort_bench [rows]        (default 1,000,000)

#include "core/DateTexts.h"
#include "core/GridModel.h"
#include "core/SortGrid.h"
#include "core/Utility.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QLocale>
#include <cstdio>
#include <ctime>
#include <functional>
#include <random>

using namespace vastel;

namespace {

// Random sizes and dates; Equal: every row the same size and date (as texts of their own, like
// a real fill); Peaked: sizes rising to the middle row and falling again.
enum class Sizes { Random, Equal, Peaked };

std::vector<GridRow> makeRows(int n, std::mt19937_64& random, Sizes sizes) {
    const bool allEqual = sizes == Sizes::Equal;
    const QDate base(2019, 1, 1);
    const QStringList types = {"Text Document", "JPEG Image", "ZIP Archive", "XYZ File"};
    std::vector<GridRow> rows(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        // Log-normal-ish sizes, with many small files of equal size as on real disks.
        const qint64 size = sizes == Sizes::Peaked ? (i < n / 2 ? i : n - i)
                            : allEqual             ? 4096
                                       : qint64(std::exp(double(random() % 2200) / 100.0));
        const QDate modified = allEqual ? base : base.addDays(qint64(random() % 2400));
        const QDate accessed = modified.addDays(qint64(random() % 300));
        GridRow& row = rows[size_t(i)];
        row.cells = {thousandsText(size),
                     QLocale().toString(modified, QLocale::ShortFormat),
                     QStringLiteral("12:%1:00").arg(i % 60, 2, 10, QLatin1Char('0')),
                     QLocale().toString(accessed, QLocale::ShortFormat),
                     QStringLiteral("file%1.dat").arg(random() % 1000000),
                     types[int(random() % 4)]};
        row.path = "/data/f" + QByteArray::number(i);
    }
    return rows;
}

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Timing {
    double wall;
    double cpu;  // what the wall time would be on an idle machine, near enough
};

Timing timed(const std::function<void()>& run) {
    QElapsedTimer timer;
    const double cpu = cpuSeconds();
    timer.start();
    run();
    return {double(timer.nsecsElapsed()) / 1e9, cpuSeconds() - cpu};
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
    std::mt19937_64 random(42);

    const auto report = [](const char* what, const std::function<void()>& run) {
        const Timing t = timed(run);
        std::printf("%-44s %7.3f s %7.3f s\n", what, t.wall, t.cpu);
        std::fflush(stdout);
    };
    const QStringList headers = {"Size", "Date", "Time", "Access Date", "FileName", "Type"};
    {
        GridModel grid(headers);
        const Timing fill = timed([&] { grid.appendRows(makeRows(n, random, Sizes::Random)); });
        std::printf("rows %d (filled in %.2f s)\n", n, fill.wall);
        std::printf("%-44s %9s %9s\n", "sort", "wall", "cpu");
        const int last = grid.rowCount() - 1;
        report("number, random, descending", [&] { sortGridByNumber(grid, 0, last, true, 0); });
        report("number, sorted, descending again",
               [&] { sortGridByNumber(grid, 0, last, true, 0); });
        report("number, reversed (ascending)", [&] { sortGridByNumber(grid, 0, last, false, 0); });
        report("date, random, descending", [&] { sortGridByDate(grid, 0, last, true, 1); });
        report("date, sorted, descending again", [&] { sortGridByDate(grid, 0, last, true, 1); });
        report("date, reversed (ascending)", [&] { sortGridByDate(grid, 0, last, false, 1); });
        report("date, access column, descending", [&] { sortGridByDate(grid, 0, last, true, 3); });
        report("text, name, ascending", [&] { sortGridByText(grid, 0, last, false, 4); });
        report("text, type (4 values), ascending",
               [&] { sortGridByText(grid, 0, last, false, 5); });
    }
    // Every row the same key: the strict scans stop at every row and split ranges evenly. The
    // rows are shuffled in memory first by a sort on the name, as after any earlier sort.
    {
        GridModel grid(headers);
        grid.appendRows(makeRows(n, random, Sizes::Equal));
        const int last = grid.rowCount() - 1;
        report("text, name, ascending (equal sizes)",
               [&] { sortGridByText(grid, 0, last, false, 4); });
        report("number, all equal, descending", [&] { sortGridByNumber(grid, 0, last, true, 0); });
        report("date, all equal, descending", [&] { sortGridByDate(grid, 0, last, true, 1); });
    }
    // Without the scan tree the ascending sort of these would take hours.
    GridModel grid(headers);
    grid.appendRows(makeRows(n, random, Sizes::Peaked));
    const int last = grid.rowCount() - 1;
    report("number, rising then falling, ascending",
           [&] { sortGridByNumber(grid, 0, last, false, 0); });
    return 0;
}
