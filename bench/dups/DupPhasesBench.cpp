// The duplicate and file-hog finder's engine on a tree, phase by phase: the walk into the
// collection, the grouping into grid rows, and the grid (rows appended, file hogs sorted
// largest first), with the peak memory per collected file.
//
// Usage: vastel-bench-dup-phases TREE [RUNS]
#include "core/GridModel.h"
#include "finders/DupFinder.h"
#include "platform/MemoryRelease.h"

#include <sys/resource.h>
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

using namespace vastel;

namespace {

long peakKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// The walk alone: every file is looked at and none is kept.
class NoSink : public WalkSink {
  public:
    qint64 files = 0;
    bool accepts(const WalkFile&) override {
        ++files;
        return false;
    }
    void collect(const WalkFile&) override {}
};

double bareWalk(const QByteArray& tree) {
    ScanTarget target;
    target.root = tree;
    WalkOptions walkOptions;
    walkOptions.sliceMs = 0;
    WalkProgress progress;
    StopToken abort;
    NoSink sink;
    QElapsedTimer t;
    t.start();
    TreeWalk walk(walkOptions, sink, progress, abort);
    walk.scanTargets({target});
    return t.nsecsElapsed() / 1e9;
}

struct Phases {
    double bare = 0, walk = 0, rows = 0, grid = 0;
    qint64 collected = 0, shown = 0;
};

Phases runOnce(const QByteArray& tree, const DupOptions& options) {
    Phases p;
    p.bare = bareWalk(tree);
    ScanTarget target;
    target.root = tree;
    target.text = QString::fromUtf8(tree);
    WalkOptions walkOptions;
    walkOptions.sliceMs = 0;
    WalkProgress progress;
    StopToken abort;
    DupCollection collection(options);
    QElapsedTimer t;
    t.start();
    {
        TreeWalk walk(walkOptions, collection, progress, abort);
        walk.scanTargets({target});
    }
    p.walk = t.nsecsElapsed() / 1e9;
    p.collected = collection.count();
    t.restart();
    DupRecords found = collection.takeRecords();
    p.rows = t.nsecsElapsed() / 1e9;
    t.restart();
    GridModel grid(options.mode == FinderMode::Duplicates ? duplicateHeaders() : fileHogHeaders());
    p.shown = qint64(found.records.size());
    grid.setRecords(found.columns, std::move(found.records));
    if (options.mode == FinderMode::FileHogs) sortLargestFirst(grid);
    p.grid = t.nsecsElapsed() / 1e9;
    return p;
}

}  // namespace

int main(int argc, char** argv) {
    returnLargeBlocksOnRelease();  // as the program does
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Usage: %s TREE [RUNS] [MODE...]\n", argv[0]);
        return 2;
    }
    const QByteArray tree = argv[1];
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 3;
    // -1 is file hogs; every mode with every file passing, the worst case for the grouping.
    std::vector<int> modes;
    for (int i = 3; i < argc; ++i) modes.push_back(atoi(argv[i]));
    if (modes.empty()) modes = {0, 1, 2, 3, 4, 5, 6, -1};
    std::printf("%-6s %9s %9s %8s %8s %8s %8s %8s %6s\n", "mode", "collected", "rows", "bare s",
                "walk s", "group s", "grid s", "total s", "ratio");
    for (const int mode : modes) {
        DupOptions options;
        options.mode = mode < 0 ? FinderMode::FileHogs : FinderMode::Duplicates;
        options.matchMode = std::max(mode, 0);
        options.size = SizeCondition::fromNumbers(SizeChoice::Larger, 0, 0, false);
        std::vector<Phases> all;
        for (int r = 0; r < runs; ++r) all.push_back(runOnce(tree, options));
        // The run of the median ratio to the bare walk just before it.
        const auto ratio = [](const Phases& p) { return (p.walk + p.rows + p.grid) / p.bare; };
        std::sort(all.begin(), all.end(),
                  [&](const Phases& a, const Phases& b) { return ratio(a) < ratio(b); });
        const Phases& m = all[all.size() / 2];
        std::printf("%-6s %9lld %9lld %8.3f %8.3f %8.3f %8.3f %8.3f %6.2f\n",
                    mode < 0 ? "hogs" : QByteArray::number(mode).constData(),
                    static_cast<long long>(m.collected), static_cast<long long>(m.shown), m.bare,
                    m.walk, m.rows, m.grid, m.walk + m.rows + m.grid, ratio(m));
    }
    std::printf("peak memory %ld KiB\n", peakKiB());
    return 0;
}
