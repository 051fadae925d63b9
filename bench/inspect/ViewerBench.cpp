// The file viewer on big files: first screen, jumps and scrolling, the background line count,
// a search near the end, and the memory all of it takes. Fixtures are made in a temporary
// folder (sparse where the size allows) and removed afterwards.
//
//   viewer_bench [FOLDER]     FOLDER for the fixtures, default $TMPDIR
#include "inspect/ui/FileViewer.h"

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

using namespace vastel;

namespace {

constexpr qint64 kGiB = qint64(1) << 30;

// Resident and peak resident memory of the process, in MiB.
struct Memory {
    double resident = 0, peak = 0;
};
Memory memory() {
    Memory m;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return m;
    for (const QByteArray& line : status.readAll().split('\n')) {
        const auto kib = [&] { return line.mid(6).trimmed().split(' ').first().toDouble() / 1024; };
        if (line.startsWith("VmRSS:")) m.resident = kib();
        if (line.startsWith("VmHWM:")) m.peak = kib();
    }
    return m;
}

// A file of `size` bytes: `head` at the start and `tail` at the end; the rest a hole.
bool sparseFile(const QByteArray& path, qint64 size, const QByteArray& head,
                const QByteArray& tail) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    bool ok = ::ftruncate(fd, size) == 0;
    ok = ok && ::pwrite(fd, head.constData(), size_t(head.size()), 0) == head.size();
    ok = ok &&
         ::pwrite(fd, tail.constData(), size_t(tail.size()), size - tail.size()) == tail.size();
    return ::close(fd) == 0 && ok;
}

// A file of real text lines, written through.
bool textFile(const QByteArray& path, qint64 size, const QByteArray& tail) {
    QFile f(QString::fromUtf8(path));
    if (!f.open(QIODevice::WriteOnly)) return false;
    QByteArray chunk;
    for (int i = 0; chunk.size() < (8 << 20); ++i)
        chunk += "Line " + QByteArray::number(i) + " of generated text, with some words in it\n";
    for (qint64 written = 0; written < size - tail.size();) {
        const qint64 n = std::min<qint64>(chunk.size(), size - tail.size() - written);
        if (f.write(chunk.constData(), n) != n) return false;
        written += n;
    }
    return f.write(tail) == tail.size() && f.flush();
}

QByteArray someLines(int count) {
    QByteArray out;
    for (int i = 1; i <= count; ++i)
        out += "This is line " + QByteArray::number(i) + " at the head of the file\n";
    return out;
}

double ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

void key(FileViewer& v, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers);
    QCoreApplication::sendEvent(&v, &press);
}

// Opens a file and reports the first screen, moves, the count and the memory.
void openAndMove(const QByteArray& path, const char* what) {
    std::printf("\n%s\n", what);
    FileViewer v;
    v.resize(1000, 700);
    v.show();
    QCoreApplication::processEvents();

    QElapsedTimer sinceOpen;
    sinceOpen.start();
    QElapsedTimer t;
    t.start();
    v.setFileName(path);
    v.setActive(true);
    v.viewport()->repaint();  // painted when this returns
    std::printf("  open and first screen     %8.1f ms   (%s lines known)\n", ms(t),
                v.lineCount() ? "all" : "no");

    t.restart();
    key(v, Qt::Key_End, Qt::ControlModifier);
    v.viewport()->repaint();
    std::printf("  jump to the end           %8.1f ms   (last line \"%s\")\n", ms(t),
                qPrintable(v.lineText(v.caret().lineStart, 40)));

    t.restart();
    v.verticalScrollBar()->setValue(v.verticalScrollBar()->maximum() / 2);
    v.viewport()->repaint();
    std::printf("  drag to the middle        %8.1f ms\n", ms(t));

    t.restart();
    constexpr int kPages = 2000;
    for (int i = 0; i < kPages; ++i) {
        key(v, Qt::Key_PageDown);
        v.viewport()->repaint();
    }
    std::printf("  page down, painted        %8.3f ms a page (%d pages)\n", ms(t) / kPages, kPages);

    t.restart();
    for (int i = 0; i < kPages; ++i) {
        key(v, Qt::Key_Up);
        if (i % 10 == 0) v.viewport()->repaint();
    }
    std::printf("  line up                   %8.3f ms a line\n", ms(t) / kPages);

    const Memory moving = memory();
    t.restart();
    v.makeLineCountKnown();
    const double counted = ms(t);
    std::printf(
        "  line count                %8.0f ms more after the moves, %.1f s after opening, "
        "%lld lines\n",
        counted, ms(sinceOpen) / 1000, static_cast<long long>(v.lineCount().value_or(-1)));
    const Memory after = memory();
    std::printf(
        "  memory                    %8.1f MiB resident while moving, %.1f MiB after the "
        "count, %.1f MiB peak\n",
        moving.resident, after.resident, after.peak);
}

void find(const QByteArray& path, const char* what, const QString& needle, bool matchCase) {
    FileViewer v;
    v.resize(1000, 700);
    v.setFileName(path);
    v.setActive(true);
    QElapsedTimer t;
    t.start();
    const bool found = v.search(needle, false, matchCase, true);
    std::printf("  find %-22s %8.0f ms   %s, %s\n", what, ms(t), found ? "found" : "NOT FOUND",
                matchCase ? "match case" : "any case");
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir(argc > 1
                          ? QString::fromLocal8Bit(argv[1]) + QStringLiteral("/viewer-bench-XXXXXX")
                          : QString());
    if (!dir.isValid()) {
        std::fprintf(stderr, "cannot make a temporary folder\n");
        return 1;
    }
    const QByteArray folder = QFile::encodeName(dir.path());
    const Memory start = memory();
    std::printf("Viewer benchmark, fixtures in %s; %.1f MiB resident at start\n",
                folder.constData(), start.resident);

    const QByteArray big = folder + "/big-4GiB.bin";
    if (!sparseFile(big, 4 * kGiB, someLines(2000), "\nthe last line of the big file\n")) return 1;
    openAndMove(big, "4 GiB sparse file (text at the head and at the end, zeros between)");
    QFile::remove(QString::fromUtf8(big));

    std::printf("\nSearch from the start for a text 100 bytes before the end\n");
    const QByteArray tail = "needle at the end" + QByteArray(83, '\n');
    const QByteArray sparse = folder + "/sparse-1GiB.bin";
    if (!sparseFile(sparse, kGiB, someLines(10), tail)) return 1;
    find(sparse, "(1 GiB sparse)", QStringLiteral("needle at the end"), true);
    find(sparse, "(1 GiB sparse)", QStringLiteral("NEEDLE AT THE END"), false);
    QFile::remove(QString::fromUtf8(sparse));

    const QByteArray text = folder + "/text-1GiB.txt";
    if (!textFile(text, kGiB, tail)) return 1;
    find(text, "(1 GiB of text)", QStringLiteral("needle at the end"), true);
    find(text, "(1 GiB of text)", QStringLiteral("NEEDLE AT THE END"), false);
    openAndMove(text, "1 GiB text file, freshly written");
    QFile::remove(QString::fromUtf8(text));
    return 0;
}
