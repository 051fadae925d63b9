// vastel-scan temp: the quick clean's temporary files, its grid rows in the order found.
#include "app/FoundRowPrinter.h"
#include "app/RowPrinter.h"
#include "app/ScanCommand.h"
#include "finders/TempFinder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vastel {

namespace {

const char kUsage[] =
    "Usage: vastel-scan temp [--types \"*.tmp;*.bak\"] TARGET...\n"
    "  --types T   the temporary types, separated by \";\" (default: the stored list of the\n"
    "              quick clean, or its built-in types)\n"
    "A file is temporary when its extension equals a type's text after its first character\n"
    "(\"*.tmp\" gives \".tmp\"), ignoring the case of A to Z; there are no wildcards.\n"
    "Prints Size, Modified, Time, Access, FileName and Type separated by TAB, then the file's\n"
    "full path.\n";

int usage(const char* problem = nullptr, const QByteArray& detail = {}) {
    if (problem) std::fprintf(stderr, "vastel-scan temp: %s%s\n", problem, detail.constData());
    std::fputs(kUsage, stderr);
    return 2;
}

int runTemp(const QByteArrayList& args) {
    TempOptions options;
    bool typesGiven = false;
    QByteArrayList paths;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QByteArray& a = args[i];
        if (optionsEnded || !a.startsWith('-') || a.size() == 1) {
            paths << a;
        } else if (a == "--") {
            optionsEnded = true;
        } else if (a == "--types" || a.startsWith("--types=")) {
            QByteArray value;
            if (a == "--types") {
                if (++i == args.size()) return usage("--types needs a list of types");
                value = args[i];
            } else {
                value = a.mid(8);
            }
            for (const QByteArray& type : value.split(';'))
                if (!type.trimmed().isEmpty()) options.types << QString::fromUtf8(type.trimmed());
            if (options.types.isEmpty()) return usage("--types needs at least one type");
            typesGiven = true;
        } else {
            return usage("unknown option ", a);
        }
    }
    if (paths.isEmpty()) return usage("no target given");
    // As the window shows it: every type of the list selected.
    if (!typesGiven) options.types = readQuickCleanTypes();

    CommandTargetErrors errors;
    StopToken stop;
    const TempRun run = runTempFinder(commandTargets(paths), options, errors, stop);

    RowPrinter rows;
    FoundRowPrinter printer(rows, *run.columns);
    for (const ResultRecord& record : run.records) printer.print(record);
    if (!rows.finish()) {
        std::fprintf(stderr, "vastel-scan temp: cannot write the output: %s\n",
                     std::strerror(errno));
        return 1;
    }
    return run.summary.failedTargets > 0 ? 1 : 0;
}

const ScanCommand tempCommand(
    "temp",
    "temp [--types \"*.tmp;*.bak\"] TARGET...\n"
    "                       the quick clean's temporary files, in the order found",
    runTemp);

}  // namespace

}  // namespace vastel
