// The duplicate and file-hog finder window on a tree: the time from a click on Start to the
// filled and painted grid, against the bare `vastel-scan walk` of the same tree run just before
// it, per match mode and in file-hog mode; and the peak memory per listed file.
//
// Usage: vastel-bench-dup-window VASTEL_SCAN TREE [RUNS] [--all] [MODE...]
//   --all    every file passes the size condition (0 bytes or more): the worst case;
//            without it the window's defaults (250 KB or more).
//   MODE     0-6 for the match modes, -1 for file hogs (default: all of them)
#include "app/ProgramContext.h"
#include "core/DriveEntries.h"
#include "core/GridModel.h"
#include "finders/TfrmDup.h"
#include "platform/MemoryRelease.h"
#include "platform/ScriptedDialogs.h"
#include "widgets/NumberSpin.h"

#include <sys/resource.h>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

using namespace vastel;

namespace {

long peakKiB() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

double walkSeconds(const QString& scan, const QString& tree) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(scan, {QStringLiteral("walk"), tree});
    p.waitForFinished(-1);
    return t.nsecsElapsed() / 1e9;
}

struct Run {
    double walk = 0, window = 0;
    int rows = 0;
    double ratio() const { return window / walk; }
};

// shown: the peak memory with the window shown and set up, before its first scan.
Run runOnce(const QString& scan, const QString& tree, int mode, bool all, long& shown) {
    Run r;
    ProgramContext context;
    context.duplicateMode = mode >= 0;
    TfrmDup w(context);
    w.show();
    QApplication::processEvents();
    for (int i = 0; i < w.pckDrive->count(); ++i)
        w.pckDrive->item(i)->setCheckState(i == w.pckDrive->count() - 1 ? Qt::Checked
                                                                        : Qt::Unchecked);
    if (mode >= 0) w.cbDup->setCurrentIndex(mode);
    if (all) {
        w.num1->setValue(0);
        w.cbKB1->setCurrentIndex(0);  // bytes
    }
    r.walk = walkSeconds(scan, tree);
    if (shown == 0) shown = peakKiB();
    QElapsedTimer t;
    t.start();
    w.btScan->click();
    w.grid->viewport()->repaint();
    r.window = t.nsecsElapsed() / 1e9;
    r.rows = w.model->rowCount();
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    // The bench's own settings: the tree becomes the one extra folder of the drive list.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    returnLargeBlocksOnRelease();  // as the program does
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "Usage: %s VASTEL_SCAN TREE [RUNS] [--all] [MODE...]\n", argv[0]);
        return 2;
    }
    const QString scan = QString::fromLocal8Bit(argv[1]);
    const QString tree = QString::fromLocal8Bit(argv[2]);
    int runs = 3;
    bool all = false;
    std::vector<int> modes;
    for (int i = 3; i < argc; ++i) {
        const QByteArray a = argv[i];
        if (a == "--all")
            all = true;
        else if (i == 3)
            runs = std::max(1, a.toInt());
        else
            modes.push_back(a.toInt());
    }
    if (modes.empty()) modes = {0, 1, 2, 3, 4, 5, 6, -1};
    ScriptedDialogs dialogs;  // "No files found." and the like are answered, not shown
    writeExtraFolders({QFile::encodeName(tree)});

    const long before = peakKiB();
    long shown = 0;
    std::printf("# %s, %s, median of %d runs\n", argv[2],
                all ? "every file (0 bytes or more)" : "defaults (250 KB or more)", runs);
    std::printf("%-6s %9s %9s %9s %7s\n", "mode", "rows", "walk s", "window s", "ratio");
    for (const int mode : modes) {
        std::vector<Run> results;
        for (int k = 0; k < runs; ++k) results.push_back(runOnce(scan, tree, mode, all, shown));
        std::sort(results.begin(), results.end(),
                  [](const Run& a, const Run& b) { return a.ratio() < b.ratio(); });
        const Run& m = results[results.size() / 2];
        std::printf("%-6s %9d %9.3f %9.3f %7.2f\n",
                    mode < 0 ? "hogs" : QByteArray::number(mode).constData(), m.rows, m.walk,
                    m.window, m.ratio());
        std::fflush(stdout);
    }
    // The window's own fixed costs (the file-type database, fonts, the view) come before the
    // scan; what a scan adds is what grows with the files it lists.
    std::printf(
        "peak memory %ld KiB (%ld KiB before the first scan, %ld KiB with the window "
        "shown)\n",
        peakKiB(), before, shown);
    return 0;
}
