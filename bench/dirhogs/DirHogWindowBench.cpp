// The folder-hog window from a click on "&All Folders" or "&Main folders" to the painted grid,
// against the same scan without a window; the largest wait of events during the scan, and how
// fast Abort acts. Run on the offscreen platform with a throw-away XDG_CONFIG_HOME:
//   QT_QPA_PLATFORM=offscreen vastel-bench-dirhog-window TREE [ROUNDS]
#include "app/ProgramContext.h"
#include "core/DriveEntries.h"
#include "core/GridModel.h"
#include "finders/DirHogFinder.h"
#include "finders/TfrmDirHog.h"
#include "platform/ScriptedDialogs.h"
#include "widgets/DriveList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vastel;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The scan and the grid it fills, as vastel-scan does them.
double headless(const QByteArray& root, DirHogScan kind, int& rows) {
    QElapsedTimer clock;
    clock.start();
    ScanTarget target;
    target.root = root;
    DirHogOptions options;
    options.scan = kind;
    options.sliceMs = 0;
    WalkProgress quiet;
    StopToken stop;
    const DirHogResult result = runDirHogs({target}, options, quiet, stop);
    GridModel grid(dirHogHeaders());
    fillDirHogGrid(grid, result.rows);
    sortDirHogsLargestFirst(grid);
    rows = grid.rowCount();
    return clock.nsecsElapsed() / 1e6;
}

struct Bench {
    ProgramContext context;
    TfrmDirHog window{context};
    QTimer ticker;
    QElapsedTimer clock;
    qint64 lastTick = 0, maxGap = 0;

    explicit Bench(const QByteArray& root) {
        for (int i = 0; i < window.pckDrive->count(); ++i) {
            QListWidgetItem* item = window.pckDrive->item(i);
            item->setCheckState(driveListTarget(item).root == root ? Qt::Checked : Qt::Unchecked);
        }
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [this] {
            const qint64 now = clock.elapsed();
            maxGap = std::max(maxGap, now - lastTick);
            lastTick = now;
        });
        window.resize(900, 600);
        window.show();
        QApplication::processEvents();
    }

    double run(DirHogScan kind, int& rows, int abortAfterMs = 0, double* abortMs = nullptr) {
        QElapsedTimer abortClock;
        if (abortAfterMs > 0)
            QTimer::singleShot(abortAfterMs, [&] {
                abortClock.start();
                window.btAbort->click();
            });
        clock.start();
        lastTick = 0;
        maxGap = 0;
        ticker.start();
        (kind == DirHogScan::All ? window.btAll : window.btTop)->click();
        window.grid->viewport()->repaint();
        const double ms = clock.nsecsElapsed() / 1e6;
        ticker.stop();
        if (abortMs) *abortMs = abortClock.isValid() ? abortClock.nsecsElapsed() / 1e6 : -1;
        rows = window.model->rowCount();
        return ms;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s TREE [ROUNDS]\n", argv[0]);
        return 2;
    }
    const QByteArray root(argv[1]);
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    ScriptedDialogs answers;  // the abort warning and "No files found." answer themselves
    writeExtraFolders({root});
    Bench bench(root);

    for (DirHogScan kind : {DirHogScan::All, DirHogScan::Main}) {
        std::vector<double> bare, windowed, ratios, gaps, abortLatency;
        int rows = 0, windowRows = 0;
        for (int r = 0; r < rounds; ++r) {
            // Alternate the order so that neither side always runs on the warmer cache.
            double h, w;
            if (r % 2) {
                w = bench.run(kind, windowRows);
                h = headless(root, kind, rows);
            } else {
                h = headless(root, kind, rows);
                w = bench.run(kind, windowRows);
            }
            bare.push_back(h);
            windowed.push_back(w);
            ratios.push_back(w / h);
            gaps.push_back(double(bench.maxGap));
            double acted = 0;
            int partial = 0;
            bench.run(kind, partial, 150, &acted);
            abortLatency.push_back(acted);
        }
        std::printf(
            "%s: %d rows (window %d); headless %.0f ms, window %.0f ms (click to painted "
            "grid), window/headless median %.3f; longest event wait %.0f ms; Abort acted "
            "within %.0f ms (median), %.0f ms (worst)\n",
            kind == DirHogScan::All ? "all" : "main", rows, windowRows, median(bare),
            median(windowed), median(ratios), median(gaps), median(abortLatency),
            *std::max_element(abortLatency.begin(), abortLatency.end()));
    }
    return 0;
}
