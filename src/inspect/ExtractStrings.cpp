#include "inspect/ExtractStrings.h"

#include "platform/NativeFile.h"

#include <QFile>
#include <cerrno>

namespace vastel {

namespace {
bool readable(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == ' ';
}
}  // namespace

bool writeStrings(QIODevice& source, QIODevice& target, int minimum, int maximum) {
    QByteArray lastWritten;
    QByteArray run;
    char block[2048];
    for (;;) {
        const qint64 got = source.read(block, sizeof block);
        if (got <= 0) break;
        run.clear();
        qint64 length = 0;  // the run's real length; `run` keeps at most maximum + 1 of it
        for (qint64 i = 0; i < got; ++i) {
            if (readable(block[i])) {
                if (run.size() <= maximum) run.append(block[i]);
                ++length;
                continue;
            }
            if (length > minimum && length <= qint64(maximum) + 1 && run != lastWritten) {
                if (target.write(run + '\n') != run.size() + 1) return false;
                lastWritten = run;
            }
            run.clear();
            length = 0;
        }
    }
    return true;
}

bool extractStrings(const QByteArray& source, const QByteArray& target, int minimum, int maximum,
                    JobSink& sink) {
    QFile in;
    if (!openNativeForReading(in, source)) {
        sink.problem({Problem::Kind::CannotOpen, source, errno});
        return false;
    }
    QFile out;
    if (!openNativeForWriting(out, target)) {
        sink.problem({Problem::Kind::CannotCreate, target, errno});
        return false;
    }
    // A full disk must not pass for a short list of strings.
    const bool written = writeStrings(in, out, minimum, maximum) && out.flush();
    out.close();
    if (!written || out.error() != QFileDevice::NoError) {
        sink.problem({Problem::Kind::CannotWrite, target, errno});
        return false;
    }
    return true;
}

}  // namespace vastel
