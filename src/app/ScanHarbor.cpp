// vastel-scan harbor: whether paths lie in the Safe Harbor, tested as the program tests them.
#include "app/RowPrinter.h"
#include "app/ScanCommand.h"
#include "protect/SafeHarbor.h"

#include <QDir>
#include <QFile>
#include <cstdio>

namespace vastel {

namespace {

int runHarbor(const QByteArrayList& args) {
    bool asFolder = false;
    bool optionsDone = false;
    QByteArrayList paths;
    for (const QByteArray& a : args) {
        if (!optionsDone && a == "--") {
            optionsDone = true;
        } else if (!optionsDone && a == "--folder") {
            asFolder = true;
        } else if (!optionsDone && a.startsWith("-") && a.size() > 1) {
            std::fprintf(stderr, "vastel-scan harbor: unknown option '%s'\n", a.constData());
            return 2;
        } else {
            paths.append(a);
        }
    }
    if (paths.isEmpty()) {
        std::fputs("Usage: vastel-scan harbor [--folder] PATH...\n", stderr);
        return 2;
    }

    // Loaded in the launcher's order: the protected types, then the folder lists.
    SafeHarbor harbor;
    harbor.lastTestedFolder.clear();
    harbor.ReadSafeHarborExtensions();
    harbor.GetSearchPath();
    if (harbor.safeHarborMissing)
        std::fputs(
            "vastel-scan harbor: no Safe Harbor folder list has been built yet; only the "
            "search path, the system folders, the protected types and the files' owners "
            "apply\n",
            stderr);

    const QByteArray cwd = QFile::encodeName(QDir::currentPath());
    RowPrinter rows;
    for (const QByteArray& path : paths) {
        // A relative path is tested where it lies; the line shows it as given.
        const QByteArray tested = path.startsWith('/') ? path : cwd + '/' + path;
        int reason = 0;
        harbor.isInSafeHarbor(tested, !asFolder, &reason);
        rows.plainCell(QByteArray::number(reason))
            .cell(SafeHarbor::safeHarborReason(reason))
            .cell(path)
            .endRow();
    }
    return rows.finish() ? 0 : 1;
}

const ScanCommand command(
    "harbor",
    "harbor [--folder] PATH...  is each file (or folder) in the Safe Harbor: code, reason, path",
    runHarbor);

}  // namespace

}  // namespace vastel
