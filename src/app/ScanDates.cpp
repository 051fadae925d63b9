// vastel-scan dates: the files whose access, creation or modification date lies in a range.
#include "app/FoundRowPrinter.h"
#include "app/RowPrinter.h"
#include "app/ScanCommand.h"
#include "finders/DateFinder.h"

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace vastel {

namespace {

const char kUsage[] =
    "Usage: vastel-scan dates --what accessed|created|modified --when before|between|after\n"
    "                         --start YYYY-MM-DD [--end YYYY-MM-DD] [--pattern P] TARGET...\n"
    "  --what     the date looked at (a file system without birth times has no creation date)\n"
    "  --when     on or before --start, in between --start and --end, or on or after --start;\n"
    "             the bounds are days in local time and belong to the range\n"
    "  --end      needed by --when between, not before --start\n"
    "  --pattern  wildcard pattern of the files (default *.*)\n"
    "Prints Filename, Accessed, Created, Modified, Size, Folder and Type separated by TAB, then\n"
    "the file's full path.\n";

int usage(const char* problem = nullptr, const QByteArray& detail = {}) {
    if (problem) std::fprintf(stderr, "vastel-scan dates: %s%s\n", problem, detail.constData());
    std::fputs(kUsage, stderr);
    return 2;
}

// YYYY-MM-DD exactly, a real day.
std::optional<QDate> isoDate(const QByteArray& text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    for (int i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
    const QDate d(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
    if (!d.isValid()) return std::nullopt;
    return d;
}

// The collection that prints each row as the walk finds it, in the order found. The rows are
// made on a thread of their own, batch by batch, while the walk waits for its system calls.
class DatePrinter : public DateCollection {
  public:
    DatePrinter(const DateOptions& options, RowPrinter& rows)
        : DateCollection(options), printer_(rows, *foundColumns()) {
        batch_ = std::make_unique<Batch>();
        thread_ = std::thread([this] { printBatches(); });
    }
    ~DatePrinter() override { finish(); }

    void collect(const WalkFile& file) override {
        Batch& b = *batch_;
        // A copy shares the walk's path: the walk moves to a new buffer when it changes.
        if (b.folders.empty() || b.folders.back().constData() != file.folder.constData() ||
            b.folders.back().size() != file.folder.size())
            b.folders.push_back(file.folder);
        const DirEntry& e = file.entry;
        b.rows.push_back({qint32(b.folders.size() - 1), b.names.size(), e.name.size(), e.size,
                          e.lastWrite, e.lastAccess, e.hasCreation ? e.creation : 0});
        b.names.append(e.name);
        if (b.rows.size() >= kBatchRows) hand(std::make_unique<Batch>());
    }

    // Prints what is left and waits for the printing thread.
    void finish() {
        if (!thread_.joinable()) return;
        hand(nullptr);
        thread_.join();
    }

  private:
    static constexpr size_t kBatchRows = 4096;
    static constexpr size_t kQueuedBatches = 4;  // bounds the memory when the output is slow

    struct PendingRow {
        qint32 folder;
        qsizetype nameStart, nameLength;
        qint64 size;
        quint32 modified, accessed, created;
    };
    struct Batch {
        std::vector<QByteArray> folders;
        QByteArray names;
        std::vector<PendingRow> rows;
    };

    // Queues the batch being filled and starts the next one; null for the end.
    void hand(std::unique_ptr<Batch> next) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return queue_.size() < kQueuedBatches; });
        queue_.push_back(std::move(batch_));
        if (!next) queue_.push_back(nullptr);
        batch_ = std::move(next);
        changed_.notify_all();
    }

    void printBatches() {
        for (;;) {
            std::unique_ptr<Batch> b;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [this] { return !queue_.empty(); });
                b = std::move(queue_.front());
                queue_.pop_front();
                changed_.notify_all();
            }
            if (!b) return;
            for (const PendingRow& r : b->rows) {
                const QByteArrayView name(b->names.constData() + r.nameStart, r.nameLength);
                printer_.printRow({b->folders[size_t(r.folder)], name, r.size, r.modified,
                                   r.accessed, r.created, typeOfName(name)});
            }
        }
    }

    FoundRowPrinter printer_;
    std::unique_ptr<Batch> batch_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Batch>> queue_;
    std::thread thread_;
};

int runDates(const QByteArrayList& args) {
    DateOptions options;
    std::optional<DateKind> what;
    std::optional<DateRange> when;
    std::optional<QDate> start, end;
    QByteArrayList paths;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        QByteArray a = args[i];
        if (optionsEnded || !a.startsWith('-') || a.size() == 1) {
            paths << a;
            continue;
        }
        if (a == "--") {
            optionsEnded = true;
            continue;
        }
        QByteArray value;
        const qsizetype eq = a.indexOf('=');
        if (eq > 0) {
            value = a.mid(eq + 1);
            a = a.left(eq);
        } else if (a == "--what" || a == "--when" || a == "--start" || a == "--end" ||
                   a == "--pattern") {
            if (++i == args.size()) return usage("a value must follow ", a);
            value = args[i];
        }
        if (a == "--what") {
            if (value == "accessed")
                what = DateKind::Accessed;
            else if (value == "created")
                what = DateKind::Created;
            else if (value == "modified")
                what = DateKind::Modified;
            else
                return usage("--what is accessed, created or modified, not ", value);
        } else if (a == "--when") {
            if (value == "before")
                when = DateRange::Before;
            else if (value == "between")
                when = DateRange::Between;
            else if (value == "after")
                when = DateRange::After;
            else
                return usage("--when is before, between or after, not ", value);
        } else if (a == "--start" || a == "--end") {
            const std::optional<QDate> d = isoDate(value);
            if (!d) return usage("a date is YYYY-MM-DD, not ", value);
            (a == "--start" ? start : end) = d;
        } else if (a == "--pattern") {
            if (value.isEmpty()) return usage("--pattern needs a pattern");
            options.pattern = value;
        } else {
            return usage("unknown option ", a);
        }
    }
    if (!what) return usage("--what is needed");
    if (!when) return usage("--when is needed");
    if (!start) return usage("--start is needed");
    if (*when == DateRange::Between && !end) return usage("--when between needs --end");
    if (*when == DateRange::Between && *end < *start) return usage("--end lies before --start");
    if (paths.isEmpty()) return usage("no target given");
    options.what = *what;
    options.when = *when;
    options.start = *start;
    options.end = end ? *end : *start;

    RowPrinter rows;
    DatePrinter printer(options, rows);
    WalkOptions walkOptions = printer.walkOptions();
    walkOptions.capacity = WalkOptions::kUnlimited;  // rows are printed, not kept
    walkOptions.sliceMs = 0;
    CommandTargetErrors errors;
    StopToken stop;
    TreeWalk walk(walkOptions, printer, errors, stop);
    walk.scanTargets(commandTargets(paths));
    printer.finish();
    if (!rows.finish()) {
        std::fprintf(stderr, "vastel-scan dates: cannot write the output: %s\n",
                     std::strerror(errno));
        return 1;
    }
    return walk.failedTargets() > 0 ? 1 : 0;
}

const ScanCommand datesCommand(
    "dates",
    "dates --what accessed|created|modified --when before|between|after --start YYYY-MM-DD\n"
    "       [--end YYYY-MM-DD] [--pattern P] TARGET...\n"
    "                       the files by date, in the order found",
    runDates);

}  // namespace

}  // namespace vastel
