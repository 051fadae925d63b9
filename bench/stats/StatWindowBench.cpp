// A statistics run in its window against the bare walk of the same tree: the time from
// "&Collect statistics" to the redrawn pages, the largest wait of events during it, and how
// fast Abort ends the walk. Run on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen vastel-bench-stats-window TREE [ROUNDS]
// Settings go to a temporary folder, never the user's.
#include "app/ProgramContext.h"
#include "core/DriveEntries.h"
#include "core/TreeWalk.h"
#include "platform/ScriptedDialogs.h"
#include "stats/TfrmStatistics.h"
#include "stats/TfrmWhichDrive.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vastel;

namespace {

class CountingSink : public WalkSink {
  public:
    qint64 files = 0, bytes = 0;
    void collect(const WalkFile& file) override {
        ++files;
        bytes += file.entry.size;
    }
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// What `vastel-scan walk` does, without printing its lines.
double bareWalk(const QByteArray& root) {
    CountingSink sink;
    WalkProgress quiet;
    StopToken stop;
    WalkOptions options;
    options.sliceMs = 0;
    options.capacity = WalkOptions::kUnlimited;
    ScanTarget t;
    t.root = root;
    QElapsedTimer clock;
    clock.start();
    TreeWalk walk(options, sink, quiet, stop);
    walk.scanTarget(t);
    return clock.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    qputenv("XDG_DATA_HOME", settings.path().toUtf8());
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s TREE [ROUNDS]\n", argv[0]);
        return 2;
    }
    const QByteArray root(argv[1]);
    const int rounds = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    writeExtraFolders({root});
    ScriptedDialogs dialogs;

    ProgramContext context;
    TfrmStatistics& w = context.statistics();
    w.runWizard = [&](TfrmWhichDrive& wizard) {
        for (int i = 0; i < wizard.pckDrive->count(); ++i) {
            QListWidgetItem* item = wizard.pckDrive->item(i);
            item->setCheckState(item->text() == QString::fromLocal8Bit(root) ? Qt::Checked
                                                                             : Qt::Unchecked);
        }
        wizard.rbAll->setChecked(true);
        return int(QDialog::Accepted);
    };
    w.show();
    QApplication::processEvents();

    QTimer ticker;
    QElapsedTimer clock;
    qint64 lastTick = 0, maxGap = 0;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        maxGap = std::max(maxGap, now - lastTick);
        lastTick = now;
    });
    const auto windowRun = [&](int abortAfterMs, double* abortMs) {
        QElapsedTimer abortClock;
        if (abortAfterMs > 0)
            QTimer::singleShot(abortAfterMs, [&] {
                abortClock.start();
                w.btAbort->click();
            });
        clock.start();
        lastTick = 0;
        maxGap = 0;
        ticker.start();
        w.btOK->click();
        const double ms = clock.nsecsElapsed() / 1e6;
        ticker.stop();
        if (abortMs) *abortMs = abortClock.isValid() ? abortClock.nsecsElapsed() / 1e6 : -1;
        return ms;
    };

    std::vector<double> bare, windowed, ratios, gaps, abortLatency;
    qint64 files = 0;
    for (int r = 0; r < rounds; ++r) {
        double b, s;
        if (r % 2) {
            s = windowRun(0, nullptr);
            b = bareWalk(root);
        } else {
            b = bareWalk(root);
            s = windowRun(0, nullptr);
        }
        bare.push_back(b);
        windowed.push_back(s);
        ratios.push_back(s / b);
        gaps.push_back(double(maxGap));
        files = w.tallies().filesProcessed;
        double acted = 0;
        windowRun(200, &acted);
        abortLatency.push_back(acted);
    }
    std::printf("files %lld processed, rounds %d\n", (long long)files, rounds);
    std::printf("bare walk                 median %8.1f ms\n", median(bare));
    std::printf("statistics in the window  median %8.1f ms\n", median(windowed));
    std::printf("ratio window / walk       median %8.2f\n", median(ratios));
    std::printf("largest event gap         median %8.1f ms (5 ms timer during the run)\n",
                median(gaps));
    std::printf("abort to run end          median %8.2f ms, max %.2f ms\n", median(abortLatency),
                *std::max_element(abortLatency.begin(), abortLatency.end()));
    return 0;
}
