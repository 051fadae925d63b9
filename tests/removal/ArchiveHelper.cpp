// Archives files as the deletion review does and prints every message it raised, one per
// line. The tests run it as another user or under a file size limit:
//   removal_archive_helper [--fsize BYTES] ARCHIVE-FOLDER FILE...
#include "core/DialogJobSink.h"
#include "platform/ScriptedDialogs.h"
#include "removal/ArchiveFolder.h"
#include "removal/ReviewRemoval.h"

#include <sys/resource.h>

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    int first = 1;
    if (argc > 2 && std::strcmp(argv[1], "--fsize") == 0) {
        const rlim_t limit = rlim_t(std::strtoull(argv[2], nullptr, 10));
        const rlimit r{limit, limit};
        ::setrlimit(RLIMIT_FSIZE, &r);
        // Writes past the limit then fail with EFBIG instead of killing the process.
        std::signal(SIGXFSZ, SIG_IGN);
        first = 3;
    }
    if (argc - first < 2) return 2;
    vastel::archiveFolder = argv[first];
    QList<QByteArray> files;
    for (int i = first + 1; i < argc; ++i) files.append(QByteArray(argv[i]));
    vastel::ScriptedDialogs script;
    vastel::DialogJobSink boxes;
    vastel::StopToken stop;
    const vastel::ArchiveOutcome outcome = vastel::archiveFiles(
        files, {QStringLiteral("Test"), "comment", QDateTime(QDate(2024, 1, 2), QTime(3, 4))},
        boxes, stop);
    for (const QString& message : script.messages())
        std::printf("%s\n", message.toUtf8().constData());
    std::printf("archived %d kept %d\n", outcome.archived, outcome.kept);
    return 0;
}
