// vastel-scan walk: the recursive walk of the finders, one line per listed file.
#include "app/RowPrinter.h"
#include "app/ScanCommand.h"
#include "core/ScanTarget.h"
#include "core/TreeWalk.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace vastel {

namespace {

// Prints path, size, packed last-write stamp and attributes of every collected file.
class WalkPrinter : public WalkSink {
  public:
    void collect(const WalkFile& file) override {
        const DirEntry& e = file.entry;
        char size[24];
        const char* sizeEnd = std::to_chars(size, size + sizeof size, e.size).ptr;
        char stamp[8];
        static const char kHex[] = "0123456789ABCDEF";
        for (int k = 0; k < 8; ++k) stamp[k] = kHex[(e.lastWrite >> (28 - 4 * k)) & 0xF];
        char attributes[12];
        const char* attributesEnd =
            std::to_chars(attributes, attributes + sizeof attributes, e.attributes).ptr;
        rows.pathCell(file.folder, e.name)
            .plainCell(QByteArrayView(size, sizeEnd - size))
            .plainCell(QByteArrayView(stamp, 8))
            .plainCell(QByteArrayView(attributes, attributesEnd - attributes))
            .endRow();
    }

    RowPrinter rows;
};

int usage() {
    std::fputs("Usage: vastel-scan walk [--pattern P] TARGET...\n", stderr);
    return 2;
}

int runWalk(const QByteArrayList& args) {
    WalkOptions options;
    options.capacity = WalkOptions::kUnlimited;  // lines are printed, not kept
    options.sliceMs = 0;                         // no window to keep alive
    QByteArrayList paths;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QByteArray& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && a == "--pattern") {
            if (++i == args.size()) return usage();
            options.pattern = args[i];
        } else if (!optionsEnded && a.startsWith("--pattern=")) {
            options.pattern = a.mid(10);
        } else if (!optionsEnded && a.startsWith('-') && a.size() > 1) {
            std::fprintf(stderr, "vastel-scan walk: unknown option '%s'\n", a.constData());
            return usage();
        } else {
            paths << a;
        }
    }
    if (paths.isEmpty()) return usage();

    const std::vector<ScanTarget> targets = commandTargets(paths);

    WalkPrinter printer;
    CommandTargetErrors errors;
    StopToken abort;
    TreeWalk walk(options, printer, errors, abort);
    walk.scanTargets(targets);
    if (!printer.rows.finish()) {
        std::fprintf(stderr, "vastel-scan walk: cannot write the output: %s\n",
                     std::strerror(errno));
        return 1;
    }
    return walk.failedTargets() > 0 ? 1 : 0;
}

const ScanCommand walkCommand(
    "walk", "walk [--pattern P] TARGET...  list the files a finder's scan visits, in walk order",
    runWalk);

}  // namespace

}  // namespace vastel
