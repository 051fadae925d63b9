// vastel-scan walk: the recursive walk of the finders, one line per listed file.
#include "app/ScanCommand.h"
#include "core/FieldEscape.h"
#include "core/ScanTarget.h"
#include "core/TreeWalk.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>

namespace vastel {

namespace {

// Output is gathered in a buffer and written in large blocks.
constexpr qsizetype kFlushBytes = 256 * 1024;

// Prints path, size, packed last-write stamp and attributes of every collected file.
class WalkPrinter : public WalkSink {
  public:
    WalkPrinter() { out_.reserve(kFlushBytes + 8192); }
    ~WalkPrinter() override { flush(); }

    void collect(const WalkFile& file) override {
        // The folder's escaped text serves all of its files. Sharing the walk's path buffer
        // makes the test for the same folder a pointer comparison in most cases.
        if (file.folder.constData() != folder_.constData() ||
            file.folder.size() != folder_.size()) {
            const bool changed = file.folder != folder_;
            folder_ = file.folder;
            if (changed) {
                escapedFolder_.resize(0);  // keeps the capacity, unlike clear()
                appendEscapedField(escapedFolder_, folder_);
                if (!folder_.endsWith('/')) escapedFolder_.append('/');
            }
        }
        const DirEntry& e = file.entry;
        out_.append(escapedFolder_);
        appendEscapedField(out_, e.name);
        // TAB size TAB stamp TAB attributes LF: at most 1 + 20 + 1 + 8 + 1 + 10 + 1 bytes.
        char fields[64];
        char* end = fields;
        *end++ = '\t';
        end = std::to_chars(end, end + 20, e.size).ptr;
        *end++ = '\t';
        static const char kHex[] = "0123456789ABCDEF";
        for (int shift = 28; shift >= 0; shift -= 4) *end++ = kHex[(e.lastWrite >> shift) & 0xF];
        *end++ = '\t';
        end = std::to_chars(end, end + 10, e.attributes).ptr;
        *end++ = '\n';
        out_.append(fields, end - fields);
        if (out_.size() >= kFlushBytes) flush();
    }

    void flush() {
        if (out_.isEmpty()) return;
        if (std::fwrite(out_.constData(), 1, size_t(out_.size()), stdout) != size_t(out_.size()))
            failed_ = true;
        out_.resize(0);
    }
    bool failed() const { return failed_ || std::ferror(stdout); }

  private:
    QByteArray out_;
    QByteArray folder_;
    QByteArray escapedFolder_;
    bool failed_ = false;
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
    printer.flush();
    if (std::fflush(stdout) != 0 || printer.failed()) {
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
