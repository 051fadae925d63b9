// vastel-scan dups and hogs: the duplicate and file-hog finder, its grid records in grid order.
#include "app/RowPrinter.h"
#include "app/ScanCommand.h"
#include "finders/DupFinder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

namespace vastel {

namespace {

const char kUsage[] =
    "Usage: vastel-scan dups --mode N [OPTIONS] TARGET...\n"
    "       vastel-scan hogs [OPTIONS] TARGET...\n"
    "  --mode N        match mode 0-7: 0 filename, 1 filename and size, 2 filename, size\n"
    "                  and modify date/time, 3 size, 4 size and modify date/time,\n"
    "                  5 size and type, 6 type and modify date/time, 7 identical content\n"
    "  --pattern P     wildcard pattern of the files (default *.*)\n"
    "  --larger N      size >= N (the default, with N = 250)\n"
    "  --smaller N     size <= N\n"
    "  --between N M   N <= size <= M\n"
    "  --unit U        bytes or KB (default KB)\n"
    "Prints the grid's cells separated by TAB, then the file's full path. Mode 7 puts an\n"
    "empty line between groups and the file's other names (hard links) after its path.\n";

int usage(const char* problem = nullptr, const QByteArray& detail = {}) {
    if (problem) std::fprintf(stderr, "vastel-scan: %s%s\n", problem, detail.constData());
    std::fputs(kUsage, stderr);
    return 2;
}

// A whole number of bytes or kilobytes: digits only.
std::optional<qint64> number(const QByteArray& text) {
    if (text.isEmpty() || text.size() > 18) return std::nullopt;
    qint64 n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

int runFinder(const QByteArrayList& args, FinderMode mode) {
    DupOptions options;
    options.mode = mode;
    QByteArray pattern = "*.*";
    SizeChoice choice = SizeChoice::Larger;
    qint64 first = 250, second = 250;
    bool kilobytes = true;
    bool modeGiven = false;
    QByteArrayList paths;
    bool optionsEnded = false;

    for (qsizetype i = 0; i < args.size(); ++i) {
        const QByteArray& a = args[i];
        const auto value = [&]() -> std::optional<QByteArray> {
            if (++i == args.size()) return std::nullopt;
            return args[i];
        };
        const auto numberValue = [&](qint64& into) {
            const std::optional<QByteArray> v = value();
            const std::optional<qint64> n = v ? number(*v) : std::nullopt;
            if (n) into = *n;
            return n.has_value();
        };
        if (optionsEnded || !a.startsWith('-') || a.size() == 1) {
            paths << a;
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--mode" && mode == FinderMode::Duplicates) {
            qint64 m = 0;
            if (!numberValue(m) || m > kContentMatchMode)
                return usage("--mode needs a number from 0 to 7");
            options.matchMode = int(m);
            modeGiven = true;
        } else if (a == "--pattern") {
            const std::optional<QByteArray> v = value();
            if (!v || v->isEmpty()) return usage("--pattern needs a pattern");
            pattern = *v;
        } else if (a == "--larger" || a == "--smaller") {
            choice = a == "--larger" ? SizeChoice::Larger : SizeChoice::Smaller;
            if (!numberValue(first)) return usage("a whole number must follow ", a);
        } else if (a == "--between") {
            choice = SizeChoice::Between;
            if (!numberValue(first) || !numberValue(second))
                return usage("two whole numbers must follow --between");
        } else if (a == "--unit") {
            const std::optional<QByteArray> v = value();
            if (!v || (*v != "bytes" && *v != "KB")) return usage("--unit is bytes or KB");
            kilobytes = *v == "KB";
        } else {
            return usage("unknown option ", a);
        }
    }
    if (mode == FinderMode::Duplicates && !modeGiven) return usage("dups needs --mode");
    if (paths.isEmpty()) return usage("no target given");
    if (choice == SizeChoice::Between && second < first) {
        std::fputs("The second number must be larger or equal than the first number\n", stderr);
        return 2;
    }
    options.size = SizeCondition::fromNumbers(choice, first, second, kilobytes);

    CommandTargetErrors errors;
    StopToken abort;
    const DupRun run = runDupFinder(commandTargets(paths), pattern, options, errors, abort);

    RowPrinter rows;
    const int columns = run.columns->count();
    const bool content = options.matchMode == kContentMatchMode;
    for (size_t k = 0; k < run.records.size(); ++k) {
        const ResultRecord& record = run.records[k];
        // Two groups of one size may follow each other: the shade tells where one ends.
        if (content && k > 0 && record.shade != run.records[k - 1].shade) rows.endRow();
        for (int c = 0; c < columns; ++c) rows.cell(run.columns->text(record, c));
        rows.cell(record.path());
        if (content)
            for (const QByteArray& link : run.links[k]) rows.cell(link);
        rows.endRow();
    }
    if (!rows.finish()) {
        std::fprintf(stderr, "vastel-scan: cannot write the output: %s\n", std::strerror(errno));
        return 1;
    }
    if (run.content.changed > 0 || run.content.unreadable > 0)
        std::fprintf(stderr,
                     "vastel-scan: left out %lld files that changed while read and %lld that "
                     "could not be read\n",
                     static_cast<long long>(run.content.changed),
                     static_cast<long long>(run.content.unreadable));
    return run.summary.failedTargets > 0 ? 1 : 0;
}

const ScanCommand dupsCommand(
    "dups",
    "dups --mode N [--pattern P] [--larger N | --smaller N | --between N M] [--unit bytes|KB]\n"
    "       TARGET...          the duplicate groups of the duplicate finder, in grid order",
    [](const QByteArrayList& args) { return runFinder(args, FinderMode::Duplicates); });

const ScanCommand hogsCommand(
    "hogs",
    "hogs [--pattern P] [--larger N | --smaller N | --between N M] [--unit bytes|KB]\n"
    "       TARGET...          the file hogs, largest first",
    [](const QByteArrayList& args) { return runFinder(args, FinderMode::FileHogs); });

}  // namespace

}  // namespace vastel
