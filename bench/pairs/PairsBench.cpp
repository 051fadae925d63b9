// The pair comparison window: Next and Previous pair on 100,000 duplicate rows, and "&CRC" on
// two large files against `cat` of the same two files, each read from disk (the files' cached
// pages are dropped before every run).
//
// Usage: vastel-bench-pairs steps [ROWS]
//        vastel-bench-pairs crc FILE1 FILE2 [RUNS]
// Put the files on a loop volume and name its image in VASTEL_BENCH_DROP.
#include "app/ProgramContext.h"
#include "core/GridModel.h"
#include "finders/DupColumns.h"
#include "finders/DupFinder.h"
#include "finders/TfrmDup.h"
#include "finders/TfrmDupCompare.h"
#include "platform/ScriptedDialogs.h"
#include "results/ResultList.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QApplication>
#include <QCursor>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vastel;

namespace {

double ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

void report(const char* what, std::vector<double> times) {
    std::sort(times.begin(), times.end());
    std::printf("%-34s median %7.3f ms   95%% %7.3f ms   max %7.3f ms   (%zu steps)\n", what,
                times[times.size() / 2], times[times.size() * 95 / 100], times.back(),
                times.size());
}

// Rows of a duplicate grid in match mode 0: pairs of equal names in two folders, over real
// files. With `far`, only the first and the last two rows match: Next searches the whole grid.
std::vector<ResultRecord> makeRows(const QByteArray& root, int rows, bool far) {
    std::vector<ResultRecord> out;
    out.reserve(size_t(rows));
    for (int i = 0; i < rows; ++i) {
        const bool pair = !far || i < 2 || i >= rows - 2;
        const int group = pair ? (far ? (i < 2 ? 0 : 1) : i / 2) : i;
        const QByteArray folder = root + (i % 2 ? "/b" : "/a");
        ResultRecord r;
        r.setPath(folder + "/file" + QByteArray::number(group) + ".dat", folder.size());
        r.size = 100 + group % 7;
        r.type = 0;
        r.shade = group % 2 ? GridShade::B : GridShade::A;
        out.push_back(std::move(r));
        const int fd = ::open(out.back().path().constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644);
        if (fd >= 0) ::close(fd);
    }
    return out;
}

int steps(int rows) {
    QTemporaryDir dir;
    const QByteArray root = dir.path().toUtf8();
    ::mkdir((root + "/a").constData(), 0755);
    ::mkdir((root + "/b").constData(), 0755);
    ProgramContext context;
    context.duplicateMode = true;
    TfrmDup finder(context);
    finder.show();
    TfrmDupCompare& pairs = context.dupCompare();
    for (bool far : {false, true}) {
        finder.model->setRecords(std::make_shared<DupColumns>(FinderMode::Duplicates, StampTexts(),
                                                              std::vector<QString>{"DAT File"}),
                                 makeRows(root, rows, far));
        finder.grid->setCurrentIndex(finder.model->index(0, 0));
        QElapsedTimer t;
        t.start();
        finder.btCompare->click();
        QApplication::processEvents();
        std::printf("%s grid of %d rows: shown in %.1f ms\n", far ? "far-apart" : "paired", rows,
                    ms(t));
        std::vector<double> next, prev;
        const int count = far ? 1 : 500;
        for (int i = 0; i < count; ++i) {
            t.start();
            pairs.sbR1Click();
            QApplication::processEvents();  // painted
            next.push_back(ms(t));
        }
        for (int i = 0; i < count; ++i) {
            t.start();
            pairs.sbL1Click();
            QApplication::processEvents();
            prev.push_back(ms(t));
        }
        report(far ? "  Next over the whole grid" : "  Next pair", next);
        report(far ? "  Previous over the whole grid" : "  Previous pair", prev);
        pairs.hide();
    }
    return 0;
}

void dropCached(const QByteArray& path) {
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

// Also the files named in VASTEL_BENCH_DROP (":"-separated): the backing image of a loop
// volume keeps the files' pages in the page cache otherwise.
void dropAll(const QByteArray& a, const QByteArray& b) {
    dropCached(a);
    dropCached(b);
    for (const QByteArray& extra : qgetenv("VASTEL_BENCH_DROP").split(':'))
        if (!extra.isEmpty()) dropCached(extra);
}

int crc(const QByteArray& a, const QByteArray& b, int runs) {
    const double bytes = double(QFileInfo(QString::fromUtf8(a)).size()) +
                         double(QFileInfo(QString::fromUtf8(b)).size());
    ProgramContext context;
    context.duplicateMode = true;
    TfrmDup finder(context);
    finder.show();
    ResultRecord ra, rb;
    ra.setPath(a, a.lastIndexOf('/'));
    rb.setPath(b, b.lastIndexOf('/'));
    finder.model->setRecords(std::make_shared<DupColumns>(FinderMode::Duplicates), {ra, rb});
    finder.grid->setCurrentIndex(finder.model->index(0, 0));
    finder.btCompare->click();
    TfrmDupCompare& pairs = context.dupCompare();
    QApplication::processEvents();

    // While the sums run, a 20 ms timer stands for the window's painting; the cursor is noted.
    int ticks = 0;
    double longestGap = 0;
    bool busy = false;
    QElapsedTimer sinceTick;
    QTimer timer;
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, ms(sinceTick));
        sinceTick.start();
        ++ticks;
        busy = busy || (QApplication::overrideCursor() &&
                        QApplication::overrideCursor()->shape() == Qt::WaitCursor);
        pairs.update();
    });
    for (int run = 0; run < runs; ++run) {
        dropAll(a, b);
        QElapsedTimer t;
        t.start();
        QProcess::execute(QStringLiteral("sh"),
                          {QStringLiteral("-c"), QStringLiteral("cat \"$0\" \"$1\" > /dev/null"),
                           QString::fromUtf8(a), QString::fromUtf8(b)});
        const double ref = ms(t);
        dropAll(a, b);
        ticks = 0;
        longestGap = 0;
        busy = false;
        sinceTick.start();
        timer.start();
        t.start();
        pairs.btCompute->click();
        const double ours = ms(t);
        timer.stop();
        std::printf(
            "run %d: cat %.0f ms (%.0f MB/s)   &CRC %.0f ms (%.0f MB/s)   ratio %.2f   "
            "%d ticks, longest gap %.0f ms, hourglass %s\n   %s\n   %s\n",
            run + 1, ref, bytes / ref / 1e3, ours, bytes / ours / 1e3, ours / ref, ticks,
            longestGap, busy ? "yes" : "no", qPrintable(pairs.side1.lblCRC->text()),
            qPrintable(pairs.side2.lblCRC->text()));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ScriptedDialogs script;
    const QByteArray mode = argc > 1 ? argv[1] : "";
    if (mode == "steps") return steps(argc > 2 ? std::atoi(argv[2]) : 100'000);
    if (mode == "crc" && argc > 3) return crc(argv[2], argv[3], argc > 4 ? std::atoi(argv[4]) : 3);
    std::fputs("Usage: vastel-bench-pairs steps [ROWS] | crc FILE1 FILE2 [RUNS]\n", stderr);
    return 2;
}
