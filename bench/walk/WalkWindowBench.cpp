// The walk inside a window against the same walk without one: speed kept, how often events
// ran, and how fast Abort acts. Run on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen vastel-bench-walk-window TREE [ROUNDS]
#include "results/ScanSession.h"
#include "core/TreeWalk.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vastel;

namespace {

// What a finder's collection costs at least: every file is looked at.
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

ScanTarget target(const QByteArray& root) {
    ScanTarget t;
    t.root = root;
    t.text = QString::fromLocal8Bit(root);
    return t;
}

double headless(const QByteArray& root, qint64& files) {
    CountingSink sink;
    WalkProgress quiet;
    StopToken abort;
    WalkOptions options;
    options.sliceMs = 0;
    QElapsedTimer clock;
    clock.start();
    TreeWalk walk(options, sink, quiet, abort);
    walk.scanTarget(target(root));
    files = sink.files;
    return clock.nsecsElapsed() / 1e6;
}

// A window with a status bar, a grid, an Abort button and a 5 ms timer whose largest gap
// between two ticks shows how long events waited during the walk.
struct Window {
    QWidget widget;
    QPushButton* btAbort = new QPushButton(QStringLiteral("&Abort"), &widget);
    QListWidget* grid = new QListWidget(&widget);
    QStatusBar* pnlSel = new QStatusBar(&widget);
    bool abortScan = false;
    ScanSession* session = nullptr;
    QTimer ticker;
    QElapsedTimer clock;
    qint64 lastTick = 0, maxGap = 0;

    Window() {
        auto* layout = new QVBoxLayout(&widget);
        layout->addWidget(btAbort);
        layout->addWidget(grid);
        layout->addWidget(pnlSel);
        ScanSession::Parts parts;
        parts.window = &widget;
        parts.abortButton = btAbort;
        parts.grid = grid;
        parts.status = [this](const QString& s) { pnlSel->showMessage(s); };
        parts.abortFlag = &abortScan;
        session = new ScanSession(parts, &widget);
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [this] {
            const qint64 now = clock.elapsed();
            maxGap = std::max(maxGap, now - lastTick);
            lastTick = now;
        });
        widget.resize(600, 400);
        widget.show();
    }

    double run(const QByteArray& root, qint64& files, int abortAfterMs, double* abortMs) {
        CountingSink sink;
        QElapsedTimer abortClock;
        if (abortAfterMs > 0)
            QTimer::singleShot(abortAfterMs, [&] {
                abortClock.start();
                btAbort->click();
            });
        clock.start();
        lastTick = 0;
        maxGap = 0;
        ticker.start();
        session->begin();
        session->walk({target(root)}, WalkOptions(), sink);
        session->end();
        const double ms = clock.nsecsElapsed() / 1e6;
        ticker.stop();
        if (abortMs) *abortMs = abortClock.isValid() ? abortClock.nsecsElapsed() / 1e6 : -1;
        files = sink.files;
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
    Window window;
    QApplication::processEvents();

    std::vector<double> bare, windowed, ratios, gaps, abortLatency;
    qint64 files = 0, windowFiles = 0;
    for (int r = 0; r < rounds; ++r) {
        // Alternate the order so that neither side always runs on the warmer cache.
        double h, w;
        if (r % 2) {
            w = window.run(root, windowFiles, 0, nullptr);
            h = headless(root, files);
        } else {
            h = headless(root, files);
            w = window.run(root, windowFiles, 0, nullptr);
        }
        bare.push_back(h);
        windowed.push_back(w);
        ratios.push_back(h / w);
        gaps.push_back(double(window.maxGap));
        double acted = 0;
        qint64 partial = 0;
        window.run(root, partial, 200, &acted);
        abortLatency.push_back(acted);
        if (partial >= files) std::fprintf(stderr, "round %d: the abort came too late\n", r);
    }
    if (files != windowFiles)
        std::fprintf(stderr, "file counts differ: %lld vs %lld\n", (long long)files,
                     (long long)windowFiles);
    std::printf("files %lld, rounds %d\n", (long long)files, rounds);
    std::printf("headless walk     median %8.1f ms\n", median(bare));
    std::printf("walk in a window  median %8.1f ms\n", median(windowed));
    std::printf("speed kept        median %8.1f %%  (headless / windowed time)\n",
                100 * median(ratios));
    std::printf("largest event gap median %8.1f ms  (5 ms timer during the walk)\n", median(gaps));
    std::printf("abort to walk end median %8.2f ms, max %.2f ms\n", median(abortLatency),
                *std::max_element(abortLatency.begin(), abortLatency.end()));
    return 0;
}
