// vastel-scan dirhogs: the folder-hog scans, their grid rows largest first.
#include "app/RowPrinter.h"
#include "app/ScanCommand.h"
#include "core/GridModel.h"
#include "finders/DirHogFinder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vastel {

namespace {

int usage(const char* problem = nullptr, const QByteArray& detail = {}) {
    if (problem) std::fprintf(stderr, "vastel-scan: %s%s\n", problem, detail.constData());
    std::fputs(
        "Usage: vastel-scan dirhogs --main|--all TARGET...\n"
        "Prints the grid's six cells separated by TAB, then the folder's full path.\n",
        stderr);
    return 2;
}

// Tells a full row list on standard error, in the window's words.
class DirHogErrors : public CommandTargetErrors {
  public:
    void collectionFull() override {
        std::fputs("Resource limit reached ... cannot process any more files.\n", stderr);
    }
};

int runDirHogCommand(const QByteArrayList& args) {
    DirHogOptions options;
    options.sliceMs = 0;  // no window to keep alive
    // Folders are read several at a time: a cold disk answers many requests at once faster.
    options.threads = 8;
    bool scanGiven = false;
    bool optionsEnded = false;
    QByteArrayList paths;
    for (const QByteArray& a : args) {
        if (optionsEnded || !a.startsWith('-') || a.size() == 1) {
            paths << a;
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--main" || a == "--all") {
            const DirHogScan scan = a == "--main" ? DirHogScan::Main : DirHogScan::All;
            if (scanGiven && scan != options.scan) return usage("give one of --main and --all");
            options.scan = scan;
            scanGiven = true;
        } else {
            return usage("unknown option ", a);
        }
    }
    if (!scanGiven) return usage("dirhogs needs --main or --all");
    if (paths.isEmpty()) return usage("no target given");

    DirHogErrors errors;
    StopToken stop;
    const DirHogResult result = runDirHogs(commandTargets(paths), options, errors, stop);
    GridModel grid(dirHogHeaders());
    fillDirHogGrid(grid, result.rows);
    sortDirHogsLargestFirst(grid);

    RowPrinter rows;
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) rows.cell(grid.cell(r, c));
        rows.cell(grid.path(r)).endRow();
    }
    if (!rows.finish()) {
        std::fprintf(stderr, "vastel-scan: cannot write the output: %s\n", std::strerror(errno));
        return 1;
    }
    return result.failedTargets > 0 || result.full ? 1 : 0;
}

const ScanCommand dirHogsCommand(
    "dirhogs",
    "dirhogs --main|--all TARGET...  the folder hogs: the main folders with their sub-trees,\n"
    "       or every folder with its own files; largest first",
    runDirHogCommand);

}  // namespace

}  // namespace vastel
