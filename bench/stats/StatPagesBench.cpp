// The tally pages of the statistics window drawn from the tallies of 200,000 files under 2,000
// extensions: the redraw after a target (all nine pages), each page painted once, and a sort
// of the type listing. Run on the offscreen platform:
//   QT_QPA_PLATFORM=offscreen vastel-bench-stats-pages [ROUNDS]
// Settings go to a temporary folder, never the user's.
#include "app/ProgramContext.h"
#include "platform/ScriptedDialogs.h"
#include "stats/TfrmStatistics.h"
#include "stats/ui/StatGrid.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

using namespace vastel;

namespace {

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Extensions of one to four letters, 2,000 of them, and 200,000 files spread over them and
// over every bucket.
StatTallies largeTallies() {
    StatTallies t;
    std::mt19937 random(7);
    std::vector<QByteArray> extensions;
    for (int i = 0; extensions.size() < 2000; ++i) {
        QByteArray e = ".";
        int v = i;
        do {
            e += char('a' + v % 26);
            v /= 26;
        } while (v > 0);
        extensions.push_back(e);
    }
    for (int f = 0; f < 200000; ++f) {
        const qint64 size = qint64(random() % (1 << (random() % 26)));
        t.insertType(extensions[size_t(random() % extensions.size())], size, false);
        int bucket = 1;
        for (qint64 limit = 16384; size > limit && bucket < 12; limit *= 2) ++bucket;
        t.sizeCount[size_t(bucket)] += 1;
        t.sizeBytes[size_t(bucket)] += size;
        const int age = int(random() % 10);
        t.accessCount[size_t(age)] += 1;
        t.accessBytes[size_t(age)] += size;
        t.createCount[size_t((age + 3) % 10)] += 1;
        t.createBytes[size_t((age + 3) % 10)] += size;
        t.modifyCount[size_t((age + 5) % 10)] += 1;
        t.modifyBytes[size_t((age + 5) % 10)] += size;
        const int slot = 1 + int(random() % 47);
        t.hourAccessed[size_t(slot)] += 1;
        t.hourCreated[size_t(slot)] += 1;
        t.hourModified[size_t(slot)] += 1;
        if (f % 10 == 0) {
            t.nHidden += 1;
            t.szHidden += size;
        }
        t.nArchive += 1;
        t.szArchive += size;
        t.waste4K += (4096 - size % 4096) % 4096;
        t.waste8K += (8192 - size % 8192) % 8192;
        t.waste16K += (16384 - size % 16384) % 16384;
        t.waste32K += (32768 - size % 32768) % 32768;
        t.waste64K += (65536 - size % 65536) % 65536;
    }
    t.filesProcessed = t.filesSelected = 200000;
    return t;
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toUtf8());
    qputenv("XDG_DATA_HOME", settings.path().toUtf8());
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    ScriptedDialogs dialogs;
    ProgramContext context;
    TfrmStatistics& w = context.statistics();
    w.resize(1000, 700);
    w.show();
    ScanTarget target;
    target.root = "/";
    target.text = QStringLiteral("/");
    w.PickList1 = {target};  // one target: the Overhang page is drawn too
    w.clusterSize = 4096;
    w.collected = true;
    const StatTallies tallies = largeTallies();
    std::printf("# %zu types, %lld files\n", tallies.types.size(),
                static_cast<long long>(tallies.filesSelected));

    // The first redraw reads every type's description from the MIME database.
    QElapsedTimer clock;
    clock.start();
    w.showTallies(tallies);
    std::printf("first redraw (type descriptions looked up): %.1f ms\n",
                clock.nsecsElapsed() / 1e6);

    std::vector<double> redraws, paints, sorts;
    for (int r = 0; r < rounds; ++r) {
        clock.start();
        w.showTallies(tallies);
        redraws.push_back(clock.nsecsElapsed() / 1e6);
        // Every tally page shown and painted once, as a user flipping through them would.
        clock.start();
        for (int page = TfrmStatistics::pgTypes; page < TfrmStatistics::kPageCount; ++page) {
            w.OvcNotebook1->setCurrentIndex(page);
            w.pages[page]->grab();
        }
        paints.push_back(clock.nsecsElapsed() / 1e6);
        // The listing sorted by number of files, then back by type.
        clock.start();
        w.SortbyExtensionClick(r % 2 ? w.SortbyType : w.SortbyNumber);
        sorts.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("redrawPages (9 pages): median %.1f ms, max %.1f ms (goal < 200 ms)\n",
                median(redraws), *std::max_element(redraws.begin(), redraws.end()));
    std::printf("paint each tally page once: median %.1f ms\n", median(paints));
    std::printf("sort of %d type rows: median %.2f ms, max %.2f ms (goal < 100 ms)\n",
                w.gridTypes->rowCount() - 1, median(sorts),
                *std::max_element(sorts.begin(), sorts.end()));
    return 0;
}
