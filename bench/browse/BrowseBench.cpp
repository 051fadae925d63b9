// The browser on a big folder: the time from a change of folder to the filled, sorted and
// painted grid, in alternation with `ls -l` of the same folder (which reads, sorts and prints
// the same entries); and how long the window goes without an event while the folder tree loads
// a folder of many sub-folders.
//
// Usage: vastel-bench-browse FILES-FOLDER [RUNS] [FOLDERS-FOLDER]
//   FILES-FOLDER    a folder of many files (bench/browse/run.sh makes 100,000)
//   FOLDERS-FOLDER  a folder of many sub-folders, for the tree's load
#include "app/ProgramContext.h"
#include "core/GridModel.h"
#include "finders/TfrmBrowse.h"
#include "finders/ui/FolderIcons.h"
#include "platform/ScriptedDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileSystemModel>
#include <QProcess>
#include <QTableView>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vastel;

namespace {

double lsSeconds(const QString& folder) {
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(QStringLiteral("ls"), {QStringLiteral("-l"), folder});
    p.waitForFinished(-1);
    return t.nsecsElapsed() / 1e9;
}

struct TreeLoad {
    int rows = 0;
    long long loadMs = 0;
    long long longestGapMs = 0;
};

// Runs `start`, then the event loop until the model has loaded `folder` and two more seconds
// for the rows that arrive after; meanwhile a 5 ms timer notes the longest pause between events.
template <typename Start, typename Rows>
TreeLoad loadTree(QFileSystemModel* model, Start start, const QByteArray& folder, Rows rows) {
    QElapsedTimer t, sinceTick;
    qint64 longest = 0;
    bool loaded = false;
    const QMetaObject::Connection c = QObject::connect(
        model, &QFileSystemModel::directoryLoaded, model,
        [&](const QString& path) { loaded = loaded || path == QFile::decodeName(folder); });
    QTimer tick;
    tick.setInterval(5);
    QObject::connect(&tick, &QTimer::timeout,
                     [&] { longest = std::max(longest, sinceTick.restart()); });
    t.start();
    sinceTick.start();
    tick.start();
    start();
    while (!loaded && t.elapsed() < 60'000)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 loadMs = t.elapsed();
    const qint64 until = t.elapsed() + 2'000;
    while (t.elapsed() < until) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    tick.stop();
    QObject::disconnect(c);
    return {rows(), loadMs, longest};
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: vastel-bench-browse FILES-FOLDER [RUNS] [FOLDERS-FOLDER]\n");
        return 2;
    }
    ScriptedDialogs quiet;
    const QByteArray files = argv[1];
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    ProgramContext context;
    TfrmBrowse w(context);
    w.setStart(files + "/..", {}, {});
    w.resize(1000, 700);
    w.show();
    QApplication::processEvents();

    std::vector<double> window, ls, ratios;
    int rows = 0;
    for (int i = 0; i < runs; ++i) {
        w.changeFolder(files + "/..");
        QApplication::processEvents();
        const double l = lsSeconds(QFile::decodeName(files));
        QElapsedTimer t;
        t.start();
        w.changeFolder(files);
        w.grid->viewport()->repaint();
        const double s = t.nsecsElapsed() / 1e9;
        rows = w.model->rowCount();
        window.push_back(s);
        ls.push_back(l);
        ratios.push_back(s / l);
        QApplication::processEvents();
    }
    std::printf("folder of %d files: window %.3f s (median of %d), ls -l %.3f s, ratio %.2f\n",
                rows, median(window), runs, median(ls), median(ratios));

    if (argc > 3) {
        // The tree loads the folder's sub-folders on the model's thread; a 5 ms timer measures
        // the longest time the event loop was kept from running meanwhile. The reference is a
        // bare tree over Qt's file-system model with the same filter and icons, no drive filter.
        const QByteArray folders = argv[3];
        const TreeLoad browser = loadTree(
            w.folderModel, [&] { w.changeFolder(folders); }, folders,
            [&] {
                return w.DirectoryListBox1->model()->rowCount(w.DirectoryListBox1->currentIndex());
            });
        QFileSystemModel bareModel;
        bareModel.setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::NoSymLinks);
        FolderIcons icons;
        bareModel.setIconProvider(&icons);
        QTreeView bare;
        bare.setModel(&bareModel);
        bare.setUniformRowHeights(true);
        bare.resize(300, 700);
        bare.show();
        const TreeLoad reference = loadTree(
            &bareModel,
            [&] {
                bareModel.setRootPath(QFile::decodeName(folders));
                const QModelIndex at = bareModel.index(QFile::decodeName(folders));
                bare.setCurrentIndex(at);
                bare.expand(at);
            },
            folders,
            [&] { return bareModel.rowCount(bareModel.index(QFile::decodeName(folders))); });
        std::printf(
            "tree of %d sub-folders: loaded in %lld ms, longest gap between events %lld ms;"
            " bare tree %d sub-folders in %lld ms, longest gap %lld ms; gap ratio %.2f\n",
            browser.rows, browser.loadMs, browser.longestGapMs, reference.rows, reference.loadMs,
            reference.longestGapMs,
            double(browser.longestGapMs) / std::max<qint64>(reference.longestGapMs, 1));
    }
    return 0;
}
