// The identical-content mode stage by stage on a tree: wall and CPU seconds of the walk and of
// each stage of the content comparison, the bytes read, the groups and the peak memory.
//
// Usage: vastel-bench-content-stages TREE [READERS [KEEP_MIB]]
#include "finders/ContentGroups.h"
#include "finders/DupFinder.h"
#include "platform/MemoryRelease.h"

#include <sys/resource.h>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

using namespace vastel;

namespace {

double cpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

long peakKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

// Collects the files as the finder does, then runs the comparison with the options given.
class Files : public WalkSink {
  public:
    std::vector<ContentFile> files;
    bool accepts(const WalkFile& f) override { return f.entry.size > 0; }
    void collect(const WalkFile& f) override {
        files.push_back({f.path(), f.entry.size, f.entry.device, f.entry.inode, {}, {}});
    }
};

}  // namespace

int main(int argc, char** argv) {
    returnLargeBlocksOnRelease();  // as the program does
    if (argc < 2) {
        std::fputs("Usage: vastel-bench-content-stages TREE [READERS [KEEP_MIB]]\n", stderr);
        return 2;
    }
    ContentGroupOptions options;
    if (argc > 2) options.readers = std::atoi(argv[2]);
    if (argc > 3) options.keepBudget = qint64(std::atoll(argv[3])) << 20;
    std::printf("hash %s, readers %d, keep %lld MiB\n", contentHashName(), options.readers,
                static_cast<long long>(options.keepBudget >> 20));

    QElapsedTimer clock;
    clock.start();
    double lastWall = 0, lastCpu = cpuSeconds();
    const auto mark = [&](const char* what) {
        const double wall = clock.nsecsElapsed() / 1e9, cpu = cpuSeconds();
        std::printf("%-22s wall %7.3f s  cpu %7.3f s\n", what, wall - lastWall, cpu - lastCpu);
        lastWall = wall;
        lastCpu = cpu;
    };

    ScanTarget target;
    target.root = argv[1];
    WalkOptions walkOptions;
    walkOptions.sliceMs = 0;
    WalkProgress progress;
    StopToken stop;
    Files sink;
    TreeWalk walk(walkOptions, sink, progress, stop);
    walk.scanTargets({target});
    mark("walk");

    QString stage = contentStageText(ContentStage::Sizes);
    options.progress = [&](ContentStage s, qint64) {
        const QString text = contentStageText(s);
        if (text == stage) return;
        mark(stage.toUtf8().constData());
        stage = text;
    };
    const ContentGroupResult result = findContentGroups(sink.files, options, stop);
    mark(stage.toUtf8().constData());
    qint64 members = 0;
    for (const ContentGroup& g : result.groups) members += qint64(g.members.size());
    std::printf(
        "%zu files, %zu groups of %lld files, %.1f MiB read, %lld changed, %lld "
        "unreadable, peak %ld MiB\n",
        sink.files.size(), result.groups.size(), static_cast<long long>(members),
        double(result.bytesRead) / (1 << 20), static_cast<long long>(result.changed),
        static_cast<long long>(result.unreadable), peakKiB() / 1024);
    return 0;
}
