// Archives about 1 GB of mixed files the way the deletion review does (one member per file,
// the archive closed after each) and compares the time with `zip -6 -q` on the same files.
// It also reports the longest pause between two chances for the window to handle events.
//   vastel-bench-removal-archive [WORK-FOLDER]   (default: $TMPDIR or /tmp, needs ~2.5 GB free)
#include "core/DialogJobSink.h"
#include "platform/ScriptedDialogs.h"
#include "removal/ArchiveFolder.h"
#include "removal/ReviewRemoval.h"

#include <sys/stat.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace vastel;

namespace {

// Text that compresses like documents and sources do.
QByteArray textData(qsizetype size, quint32 seed) {
    static const char* words[] = {"disk",  "space", "archive", "folder", "report", "budget",
                                  "the",   "and",   "of",      "with",   "total",  "2024",
                                  "int",   "void",  "return",  "const",  "{",      "}",
                                  "value", "name",  "size",    "date",   "\n",     "\t"};
    QRandomGenerator rng(seed);
    QByteArray out;
    out.reserve(size);
    while (out.size() < size) {
        out += words[rng.bounded(int(sizeof words / sizeof *words))];
        out += ' ';
        if (rng.bounded(20) == 0) out += QByteArray::number(rng.bounded(100000));
    }
    out.truncate(size);
    return out;
}

QByteArray randomData(qsizetype size, quint32 seed) {
    QByteArray out(size, Qt::Uninitialized);
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32*>(out.data()), size / 4);
    return out;
}

void writeFile(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
}

// About 1 GB: large text files, incompressible media, a log, and many small documents.
qint64 makeFiles(const QString& root) {
    qint64 total = 0;
    auto add = [&](const QString& name, const QByteArray& data) {
        writeFile(root + QLatin1Char('/') + name, data);
        total += data.size();
    };
    for (int i = 0; i < 8; ++i) add(QStringLiteral("text/big%1.txt").arg(i), textData(50 << 20, i));
    for (int i = 0; i < 4; ++i)
        add(QStringLiteral("media/clip%1.bin").arg(i), randomData(50 << 20, 100 + i));
    QByteArray log;
    while (log.size() < (100 << 20)) log += "2024-01-02 03:04:05 INFO request served in 12 ms\n";
    add(QStringLiteral("logs/server.log"), log);
    for (int i = 0; i < 1500; ++i)
        add(QStringLiteral("docs/d%1/note%2.txt").arg(i / 100).arg(i),
            textData(200 << 10, 1000 + i));
    return total;
}

QList<QByteArray> filesBelow(const QString& root) {
    QList<QByteArray> files;
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << QFile::encodeName(it.next());
    std::sort(files.begin(), files.end());
    return files;
}

void readAll(const QList<QByteArray>& files) {
    for (const QByteArray& f : files) {
        QFile file(QFile::decodeName(f));
        if (file.open(QIODevice::ReadOnly))
            while (!file.read(1 << 20).isEmpty()) {
            }
    }
}

qint64 fileSize(const QString& path) { return QFileInfo(path).size(); }

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QString base =
        argc > 1 ? QString::fromLocal8Bit(argv[1])
                 : QString::fromLocal8Bit(qgetenv("TMPDIR").isEmpty() ? QByteArray("/tmp")
                                                                      : qgetenv("TMPDIR"));
    const QString work = base + QStringLiteral("/vastel-archive-bench");
    QDir(work).removeRecursively();
    const QString source = work + QStringLiteral("/files");
    const QString out = work + QStringLiteral("/out");
    QDir().mkpath(out);

    std::printf("making files...\n");
    const qint64 bytes = makeFiles(source);
    const QList<QByteArray> files = filesBelow(source);
    std::printf("%lld files, %lld bytes\n", qlonglong(files.size()), qlonglong(bytes));
    readAll(files);  // both runs read from the page cache

    QElapsedTimer clock;
    QProcess zip;
    zip.setWorkingDirectory(source);
    clock.start();
    zip.start(QStringLiteral("zip"),
              {QStringLiteral("-6"), QStringLiteral("-q"), QStringLiteral("-r"),
               out + QStringLiteral("/reference.zip"), QStringLiteral(".")});
    if (!zip.waitForFinished(-1) || zip.exitCode() != 0) {
        std::fprintf(stderr, "zip failed (is the Debian package zip installed?)\n");
        return 1;
    }
    const double zipSeconds = clock.elapsed() / 1000.0;

    readAll(files);
    archiveFolder = QFile::encodeName(out);
    ScriptedDialogs script;
    QElapsedTimer sincePoll;
    qint64 longestPause = 0;
    int polls = 0;
    int currentFile = -1;
    auto poll = [&] {
        if (sincePoll.isValid()) {
            const qint64 pause = sincePoll.elapsed();
            longestPause = std::max(longestPause, pause);
            // Long pauses and where they were, to find what holds the window up.
            if (pause > 60 && qEnvironmentVariableIsSet("BENCH_TRACE"))
                std::printf("  pause %lld ms at file %d (%s)\n", qlonglong(pause), currentFile,
                            currentFile >= 0 ? files[currentFile].constData() : "-");
        }
        sincePoll.start();
        ++polls;
    };
    // Every tick is where the window would get its turn.
    struct BenchSink : DialogJobSink {
        std::function<void()> poll;
        int* currentFile = nullptr;
        void tick() override { poll(); }
        void item(qint64 index, const QByteArray&) override { *currentFile = int(index); }
    } sink;
    sink.poll = poll;
    sink.currentFile = &currentFile;
    StopToken stop;
    const QDateTime start = QDateTime::currentDateTime();
    clock.restart();
    const ArchiveOutcome outcome =
        archiveFiles(files, {QStringLiteral("Bench"), "benchmark", start}, sink, stop);
    const double ourSeconds = clock.elapsed() / 1000.0;
    const QString archive =
        QFile::decodeName(archiveFileName(QStringLiteral("Bench"), QLatin1Char('R'), start));

    QProcess check;
    check.start(QStringLiteral("unzip"), {QStringLiteral("-t"), QStringLiteral("-qq"), archive});
    const bool valid = check.waitForFinished(-1) && check.exitCode() == 0;

    std::printf("zip -6 -q:        %7.2f s  %lld bytes\n", zipSeconds,
                qlonglong(fileSize(out + QStringLiteral("/reference.zip"))));
    std::printf("review archiving: %7.2f s  %lld bytes  (%d archived, %d kept, %lld messages)\n",
                ourSeconds, qlonglong(fileSize(archive)), outcome.archived, outcome.kept,
                qlonglong(script.messages().size()));
    std::printf("ratio (ours / zip): %.2f\n", ourSeconds / zipSeconds);
    std::printf("longest pause between event chances: %lld ms (%d chances)\n",
                qlonglong(longestPause), polls);
    std::printf("unzip -t: %s\n", valid ? "ok" : "FAILED");
    QDir(work).removeRecursively();
    return valid && outcome.archived == files.size() ? 0 : 1;
}
