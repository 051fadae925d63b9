// The quick-clean window on a tree: the time from a click on Start to the filled, sorted and
// painted grid, against the bare `vastel-scan walk` of the same tree run just before it.
//
// Usage: vastel-bench-clean-window VASTEL_SCAN TREE [RUNS] [TYPES]
//   TYPES  the temporary types, ";" between them (default: the built-in list, all selected)
#include "app/ProgramContext.h"
#include "core/CountedList.h"
#include "core/DriveEntries.h"
#include "core/GridModel.h"
#include "core/SettingsStore.h"
#include "finders/TfrmClean.h"
#include "platform/ScriptedDialogs.h"
#include "protect/FileTypeRows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include "results/ScanSession.h"

using namespace vastel;

namespace {

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
    int rowsWhileScanning = -1;  // rows the grid showed half way through the walk
    double ratio() const { return window / walk; }
};

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "Usage: %s VASTEL_SCAN TREE [RUNS] [TYPES]\n", argv[0]);
        return 2;
    }
    const QString scan = QString::fromLocal8Bit(argv[1]);
    const QString tree = QString::fromLocal8Bit(argv[2]);
    const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 5;
    if (argc > 4) {
        SettingsStore store;
        writeCountedList(store, kTemporaryTypesSection,
                         QString::fromLocal8Bit(argv[4]).split(QLatin1Char(';')));
    }
    ScriptedDialogs dialogs;
    writeExtraFolders({QFile::encodeName(tree)});

    std::vector<Run> results;
    for (int k = 0; k < runs; ++k) {
        ProgramContext context;
        TfrmClean w(context);
        w.show();
        QApplication::processEvents();
        for (int i = 0; i < w.pckDrive->count(); ++i)
            w.pckDrive->item(i)->setCheckState(i == w.pckDrive->count() - 1 ? Qt::Checked
                                                                            : Qt::Unchecked);
        Run r;
        r.walk = walkSeconds(scan, tree);
        // Rows appear while the walk runs: count them half way through it.
        QTimer::singleShot(int(r.walk * 500), &w, [&] {
            if (w.session->scanning()) r.rowsWhileScanning = w.model->rowCount();
        });
        QElapsedTimer t;
        t.start();
        w.btScan->click();
        w.grid->viewport()->repaint();
        r.window = t.nsecsElapsed() / 1e9;
        r.rows = w.model->rowCount();
        results.push_back(r);
    }
    std::sort(results.begin(), results.end(),
              [](const Run& a, const Run& b) { return a.ratio() < b.ratio(); });
    const Run& m = results[results.size() / 2];
    std::printf(
        "quick clean window: rows %d, walk %.3f s, Start to painted grid %.3f s, "
        "ratio %.2f (median of %d); %d rows shown half way through the walk\n",
        m.rows, m.walk, m.window, m.ratio(), runs, m.rowsWhileScanning);
    return 0;
}
