// The file-hog window with a million rows: scrolling (a page painted at positions spread over
// the grid), marking one row at a time (the Mark button), marking and unmarking all rows, on
// rows of cell texts as the finder made them before against records whose paths point into
// the finder's shared folder and name storage, as the finder makes them now.
//
// Usage: vastel-bench-dup-grid-use [ROWS]   (default 1,000,000; QT_QPA_PLATFORM=offscreen)
#include "HogRecordValues.h"
#include "app/ProgramContext.h"
#include "core/GridModel.h"
#include "finders/DupColumns.h"
#include "finders/DupFinder.h"
#include "finders/FieldTexts.h"
#include "finders/TfrmDup.h"
#include "platform/MemoryRelease.h"
#include "platform/ScriptedDialogs.h"
#include "results/ResultList.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <random>

using namespace vastel;

namespace {

// Folders and names kept once, as the finder keeps them; records point into them.
struct Storage {
    std::deque<QByteArray> folders;
    std::deque<QByteArray> names;
};

std::vector<ResultRecord> makeRecords(int n, Storage& storage) {
    std::mt19937 random(5);
    std::vector<ResultRecord> records(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        if (i % 10 == 0) storage.folders.push_back(hogFolder(i));
        storage.names.push_back(hogName(i));
        ResultRecord& r = records[size_t(i)];
        r.setStoredPath(storage.folders.back(), storage.names.back());
        setHogValues(r, random);
    }
    return records;
}

double msSince(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

void timeUse(const char* what, TfrmDup& w) {
    QTableView& grid = *w.grid;
    QScrollBar& bar = *grid.verticalScrollBar();
    constexpr int kPages = 40;
    QElapsedTimer t;
    t.start();
    for (int k = 0; k < kPages; ++k) {
        bar.setValue(int(qint64(bar.maximum()) * k / (kPages - 1)));
        grid.viewport()->repaint();
    }
    const double page = msSince(t) / kPages;

    constexpr int kMarks = 1000;
    grid.setCurrentIndex(w.model->index(w.model->rowCount() / 2, 0));
    t.restart();
    for (int k = 0; k < kMarks; ++k) w.resultList->DeleteAllFiles();  // the Mark button
    grid.viewport()->repaint();
    const double mark = msSince(t) / kMarks;
    w.resultList->clearAllMarks();

    t.restart();
    w.resultList->Markall1Click();
    grid.viewport()->repaint();
    const double all = msSince(t);
    t.restart();
    w.resultList->Unmarkall1Click();
    grid.viewport()->repaint();
    const double none = msSince(t);
    std::printf(
        "%-8s page %6.2f ms   mark one %6.3f ms   mark all %7.0f ms   unmark all %6.0f ms\n", what,
        page, mark, all, none);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    returnLargeBlocksOnRelease();  // as the program does
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toUtf8());
    qputenv("XDG_DATA_HOME", home.filePath(QStringLiteral("data")).toUtf8());
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const int n = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1'000'000;
    ScriptedDialogs dialogs;  // questions are answered, not shown

    const std::vector<QString> types = {"PDF Document", "Text Document", "JPEG Image", "XYZ File"};
    auto storage = std::make_shared<Storage>();
    std::vector<ResultRecord> records = makeRecords(n, *storage);
    // The stamp texts the finder's collection hands over with its records.
    StampTexts stamps;
    for (const ResultRecord& r : records) {
        stamps.dateIndex(r.modified);
        stamps.timeIndex(r.modified);
        stamps.dateIndex(r.accessed);
    }
    auto columns = std::make_shared<DupColumns>(FinderMode::FileHogs, std::move(stamps), types);
    columns->keepPaths(storage);

    ProgramContext context;
    context.duplicateMode = false;
    TfrmDup w(context);
    w.resize(1100, 760);
    w.show();
    QApplication::processEvents();
    std::printf("# %d rows, window %dx%d\n", n, w.width(), w.height());

    {
        // Text rows: every cell a string of its own.
        std::vector<GridRow> rows(records.size());
        for (size_t k = 0; k < records.size(); ++k) {
            for (int c = 0; c < columns->count(); ++c)
                rows[k].cells.append(columns->text(records[k], c));
            rows[k].path = records[k].path();
        }
        w.model->clear();
        w.model->appendRows(std::move(rows));
        QApplication::processEvents();
        timeUse("text", w);
        w.model->clear();
    }
    w.model->setRecords(columns, std::move(records));
    QApplication::processEvents();
    timeUse("records", w);
    return 0;
}
