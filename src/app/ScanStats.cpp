// vastel-scan stats: a statistics run over the targets, every tally on a line of its own.
#include "app/ScanCommand.h"
#include "stats/StatRun.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace vastel {

namespace {

class TallyPrinter {
  public:
    void line(const char* name, qint64 value) {
        out_ += name;
        out_ += '\t';
        out_ += std::to_string(value);
        out_ += '\n';
    }
    template <typename Tally>
    void indexed(const char* name, const Tally& tally, int first, int last) {
        for (int i = first; i <= last; ++i) {
            out_ += name;
            out_ += '\t';
            out_ += std::to_string(i);
            out_ += '\t';
            out_ += std::to_string(tally[size_t(i)]);
            out_ += '\n';
        }
    }
    void type(const TypeRecord& record) {
        out_ += "type\t";
        out_.append(record.extension.constData(), size_t(record.extension.size()));
        out_ += '\t' + std::to_string(record.count) + '\t' + std::to_string(record.bytes) + '\n';
    }
    bool finish() {
        return std::fwrite(out_.data(), 1, out_.size(), stdout) == out_.size() &&
               std::fflush(stdout) == 0;
    }

  private:
    std::string out_;
};

void printTallies(const StatTallies& t, bool overhang) {
    TallyPrinter p;
    p.line("filesProcessed", t.filesProcessed);
    p.line("filesSelected", t.filesSelected);
    p.indexed("sizeCount", t.sizeCount, 1, 12);
    p.indexed("sizeBytes", t.sizeBytes, 1, 12);
    p.indexed("accessCount", t.accessCount, 0, 9);
    p.indexed("accessBytes", t.accessBytes, 0, 9);
    p.indexed("createCount", t.createCount, 0, 9);
    p.indexed("createBytes", t.createBytes, 0, 9);
    p.indexed("modifyCount", t.modifyCount, 0, 9);
    p.indexed("modifyBytes", t.modifyBytes, 0, 9);
    p.indexed("hourAccessed", t.hourAccessed, 1, 47);
    p.indexed("hourCreated", t.hourCreated, 1, 47);
    p.indexed("hourModified", t.hourModified, 1, 47);
    p.line("nHidden", t.nHidden);
    p.line("szHidden", t.szHidden);
    p.line("nReadOnly", t.nReadOnly);
    p.line("szReadOnly", t.szReadOnly);
    p.line("nSystem", t.nSystem);
    p.line("szSystem", t.szSystem);
    p.line("nArchive", t.nArchive);
    p.line("szArchive", t.szArchive);
    if (overhang) {
        p.line("waste4K", t.waste4K);
        p.line("waste8K", t.waste8K);
        p.line("waste16K", t.waste16K);
        p.line("waste32K", t.waste32K);
        p.line("waste64K", t.waste64K);
    }
    for (const TypeRecord& record : t.types) p.type(record);
    if (!p.finish()) {
        std::fprintf(stderr, "vastel-scan stats: cannot write the output: %s\n",
                     std::strerror(errno));
        std::exit(1);
    }
}

int usage() {
    std::fputs(
        "Usage: vastel-scan stats [--include \"*.doc;*.txt\" | --exclude \"...\"] "
        "TARGET...\n",
        stderr);
    return 2;
}

int runStats(const QByteArrayList& args) {
    StatOptions options;
    options.sliceMs = 0;  // no window to keep alive
    QByteArrayList paths;
    bool optionsEnded = false;
    bool filtered = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QByteArray& a = args[i];
        if (!optionsEnded && a == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (a == "--include" || a == "--exclude")) {
            if (filtered || ++i == args.size()) return usage();
            filtered = true;
            options.filter.allTypes = false;
            options.filter.includeTypes = a == "--include";
            options.filter.excludeTypes = a == "--exclude";
            options.filter.types = TypeFilter::linesOfPatterns(QString::fromUtf8(args[i]));
        } else if (!optionsEnded && a.startsWith('-') && a.size() > 1) {
            std::fprintf(stderr, "vastel-scan stats: unknown option '%s'\n", a.constData());
            return usage();
        } else {
            paths << a;
        }
    }
    if (paths.isEmpty()) return usage();
    options.targets = commandTargets(paths);

    StatTallies tallies;
    StatRun run(tallies, options);
    CommandTargetErrors errors;
    StopToken stop;
    const StatRunResult result = run.run(errors, stop);
    printTallies(tallies, run.options().overhang());
    return result.failedTargets > 0 ? 1 : 0;
}

const ScanCommand statsCommand(
    "stats",
    "stats [--include \"*.doc;*.txt\" | --exclude \"...\"] TARGET...  every tally of a "
    "statistics run, one per line",
    runStats);

}  // namespace

}  // namespace vastel
