// Restoring an archive as the restore window does it, against `unzip -o -q` of the same
// archive into an empty folder.
//   vastel-bench-restore make ARCHIVE FILES MEGABYTES   writes a test archive
//   vastel-bench-restore restore ARCHIVE FOLDER         restores it, prints the seconds
#include "restore/ArchiveRestore.h"

#include <zip.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace vastel;

namespace {

// Half incompressible bytes, half text, so the archive is about half the data.
QByteArray fileData(qint64 size, quint32 seed) {
    QByteArray data(size, Qt::Uninitialized);
    QRandomGenerator random(seed);
    const qint64 half = size / 2;
    random.fillRange(reinterpret_cast<quint32*>(data.data()), half / 4);
    static const char text[] = "Vastel restores archived files to their places. ";
    for (qint64 i = half; i < size; ++i) data[i] = text[(i + seed) % (sizeof text - 1)];
    return data;
}

int make(const char* archivePath, int files, qint64 megabytes) {
    int code = 0;
    zip_t* archive = zip_open(archivePath, ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) return 1;
    const qint64 average = (megabytes << 20) / files;
    std::vector<QByteArray> kept;  // libzip reads the buffers when it closes
    kept.reserve(size_t(files));
    for (int i = 0; i < files; ++i) {
        const qint64 size = average / 4 + qint64(QRandomGenerator(i).bounded(int(average * 3 / 2)));
        kept.push_back(fileData(size, quint32(i)));
        const QByteArray name = "home/user/data/folder" + QByteArray::number(i % 37) + "/file" +
                                QByteArray::number(i) + ".bin";
        zip_source_t* source = zip_source_buffer(archive, kept.back().constData(),
                                                 zip_uint64_t(kept.back().size()), 0);
        if (zip_file_add(archive, name.constData(), source, ZIP_FL_ENC_UTF_8) < 0) return 1;
    }
    return zip_close(archive) == 0 ? 0 : 1;
}

struct QuietSink : RestoreSink {
    int failures = 0;
    void memberFailed(const MemberFailure& f) override {
        ++failures;
        std::fprintf(stderr, "failed: %s %s\n", f.member.constData(), qPrintable(f.text));
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "make") == 0)
        return make(argv[2], std::atoi(argv[3]), std::atoll(argv[4]));
    if (argc == 4 && std::strcmp(argv[1], "restore") == 0) {
        QuietSink sink;
        StopToken stop;
        QElapsedTimer timer;
        timer.start();
        const RestoreOutcome outcome = restoreArchive({argv[2], argv[3], {}}, sink, stop);
        std::printf("%.3f s, %d files, %d failed\n", timer.nsecsElapsed() / 1e9, outcome.restored,
                    outcome.failed);
        return outcome.opened && outcome.failed == 0 ? 0 : 1;
    }
    std::fprintf(stderr, "usage: %s make ARCHIVE FILES MB | restore ARCHIVE FOLDER\n", argv[0]);
    return 2;
}
