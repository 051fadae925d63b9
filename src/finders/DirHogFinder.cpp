#include "finders/DirHogFinder.h"

#include "core/DateTexts.h"
#include "core/GridModel.h"
#include "core/SortGrid.h"
#include "core/TreeWalk.h"
#include "core/Utility.h"
#include "core/WalkSink.h"
#include "finders/FieldTexts.h"
#include "platform/NativePath.h"
#include "platform/Volumes.h"

#include <QLocale>
#include <algorithm>
#include <unordered_set>

namespace vastel {

namespace {

struct FileIdentity {
    dev_t device;
    ino_t inode;
    bool operator==(const FileIdentity& other) const {
        return device == other.device && inode == other.inode;
    }
};

struct FileIdentityHash {
    size_t operator()(const FileIdentity& id) const noexcept {
        return std::hash<quint64>()(quint64(id.inode) * 0x9E3779B97F4A7C15ull ^ quint64(id.device));
    }
};

// The figures of one folder while it is walked.
struct Tally {
    qint64 size = 0;
    qint64 files = 0;
    qint64 subfolders = 0;
    quint32 latest = 0;
    bool listed = false;
};

// The row list of a scan (the window's lb2): the walk's sink, one tally per open folder (All)
// or one for the main folder being walked (Main), and the identities of the files with several
// links met so far, so that memory grows with folders and linked files, never with all files.
class DirHogCollection final : public WalkSink {
  public:
    DirHogCollection(const DirHogOptions& options, WalkProgress& progress, StopToken& stop,
                     DirHogResult& result)
        : options_(options), progress_(progress), stop_(stop), result_(result) {}

    void beginTarget(qint64 volumeBytes) {
        volumeBytes_ = volumeBytes;
        open_.clear();
        depth_ = 0;
        inMain_ = false;
    }

    // A stop in the middle of a main folder leaves it with what was counted.
    void endTarget() {
        if (inMain_) addRow(mainPath_, main_);
        inMain_ = false;
    }

    void folderStarted(const QByteArray& folder) override {
        if (options_.scan == DirHogScan::All) {
            open_.emplace_back();
            return;
        }
        ++depth_;
        if (depth_ == 2) {
            main_ = Tally();
            mainPath_ = folder;
            inMain_ = true;
        } else if (depth_ > 2) {
            ++main_.subfolders;
        }
    }

    void folderListed(const QByteArray&, qint64 folders) override {
        if (options_.scan == DirHogScan::All && !open_.empty()) {
            open_.back().subfolders = folders;
            open_.back().listed = true;
        }
    }

    void collect(const WalkFile& file) override {
        Tally* tally = nullptr;
        if (options_.scan == DirHogScan::All) {
            if (open_.empty()) return;
            tally = &open_.back();
        } else {
            if (depth_ < 2) return;  // the root's own files belong to no row
            tally = &main_;
        }
        const DirEntry& e = file.entry;
        if (e.links > 1 && !linked_.insert(FileIdentity{e.device, e.inode}).second) return;
        tally->size += e.size;
        ++tally->files;
        // Unsigned: stamps from 2044 on have the top bit set and are still the latest.
        tally->latest = std::max(tally->latest, e.lastAccess);
    }

    void folderFinished(const QByteArray& folder) override {
        if (options_.scan == DirHogScan::All) {
            if (open_.empty()) return;
            const Tally tally = open_.back();
            open_.pop_back();
            if (tally.listed) addRow(folder, tally);
            return;
        }
        if (depth_ == 2 && inMain_) {
            inMain_ = false;
            addRow(mainPath_, main_);
        }
        --depth_;
    }

  private:
    void addRow(const QByteArray& path, const Tally& tally) {
        if (result_.full) return;
        if (qint64(result_.rows.size()) >= options_.capacity) {
            result_.full = true;
            stop_.request();
            progress_.collectionFull();
            return;
        }
        DirHogRow row;
        row.path = path;
        row.size = tally.size;
        row.files = tally.files;
        row.subfolders = tally.subfolders;
        row.latest = tally.latest;
        row.volumeBytes = volumeBytes_;
        result_.rows.push_back(std::move(row));
    }

    const DirHogOptions& options_;
    WalkProgress& progress_;
    StopToken& stop_;
    DirHogResult& result_;
    qint64 volumeBytes_ = 0;
    std::vector<Tally> open_;  // All: the folders on the current path
    int depth_ = 0;            // Main: 1 for the root, 2 for a main folder
    Tally main_;
    QByteArray mainPath_;
    bool inMain_ = false;
    std::unordered_set<FileIdentity, FileIdentityHash> linked_;
};

qint64 volumeBytesOf(const QByteArray& root) {
    DriveSpace space;
    if (!driveSpace(root, space) || !(space.totalBytes > 0)) return 0;
    return qint64(space.totalBytes);
}

}  // namespace

DirHogResult runDirHogs(const std::vector<ScanTarget>& targets, const DirHogOptions& options,
                        WalkProgress& progress, StopToken& stop) {
    DirHogResult result;
    DirHogCollection collection(options, progress, stop, result);
    WalkOptions walkOptions;
    walkOptions.files = FileSelection::All;
    walkOptions.capacity = WalkOptions::kUnlimited;  // the rows have their own limit
    walkOptions.sliceMs = options.sliceMs;
    walkOptions.accessStampOnly = true;  // a row keeps the latest access only
    TreeWalk walk(walkOptions, collection, progress, stop);
    // No stop test between targets: after a stop each one returns at once.
    for (const ScanTarget& target : targets) {
        if (!targetReady(target)) continue;
        collection.beginTarget(volumeBytesOf(target.root));
        walk.scanTarget(target);
        collection.endTarget();
    }
    result.failedTargets = walk.failedTargets();
    return result;
}

const QStringList& dirHogHeaders() {
    static const QStringList headers = {QStringLiteral("Size"),
                                        QStringLiteral("% Used"),
                                        QStringLiteral("# Files"),
                                        QStringLiteral("# Sub-folders"),
                                        QStringLiteral("Latest File Access"),
                                        QStringLiteral("Name")};
    return headers;
}

QString percentUsedText(qint64 size, qint64 capacity) {
    if (capacity <= 0 || size >= capacity) return QStringLiteral("???");
    // "#0.00": two decimals; the share is below 100, so no group separator can occur.
    return QLocale().toString(double(size) / double(capacity) * 100.0, 'f', 2);
}

QStringList dirHogCells(const DirHogRow& row) {
    return {thousandsText(row.size),    percentUsedText(row.size, row.volumeBytes),
            QString::number(row.files), QString::number(row.subfolders),
            fileDateText(row.latest),   displayPath(row.path)};
}

namespace {

// dirHogCells for many rows: one locale, and each distinct date formatted once.
QStringList dirHogCells(const DirHogRow& row, const QLocale& locale, StampTexts& dates) {
    QString percent;
    if (row.volumeBytes <= 0 || row.size >= row.volumeBytes)
        percent = QStringLiteral("???");
    else
        percent = locale.toString(double(row.size) / double(row.volumeBytes) * 100.0, 'f', 2);
    return {locale.toString(row.size),
            percent,
            QString::number(row.files),
            QString::number(row.subfolders),
            row.latest == 0 ? QString() : dates.text(dates.dateIndex(row.latest)),
            displayPath(row.path)};
}

// toCaseFolded, without the Unicode tables for the all-ASCII lines of nearly every tree.
QString caseFolded(QString line) {
    char16_t* p = reinterpret_cast<char16_t*>(line.data());
    const char16_t* const end = p + line.size();
    for (char16_t* q = p; q < end; ++q)
        if (*q >= 0x80) return std::move(line).toCaseFolded();
    for (; p < end; ++p)
        if (*p >= u'A' && *p <= u'Z') *p = char16_t(*p + (u'a' - u'A'));
    return line;
}

}  // namespace

void fillDirHogGrid(GridModel& grid, const std::vector<DirHogRow>& rows) {
    std::vector<GridRow> gridRows;
    gridRows.reserve(rows.size());
    const QLocale locale;
    StampTexts dates;
    for (const DirHogRow& row : rows) {
        GridRow g;
        g.cells = dirHogCells(row, locale, dates);
        g.path = row.path;
        gridRows.push_back(std::move(g));
    }
    // The row list keeps its lines in case-insensitive order and hands them over last to
    // first; only rows of equal size keep a trace of it after the size sort.
    // Folded once: folding inside every comparison costs more than the walk of a big tree.
    std::vector<QString> lines;
    lines.reserve(gridRows.size());
    for (const GridRow& g : gridRows) lines.push_back(caseFolded(g.cells.join(QLatin1Char('\t'))));
    std::vector<int> order(gridRows.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = int(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return lines[size_t(b)] < lines[size_t(a)]; });
    std::vector<GridRow> ordered;
    ordered.reserve(gridRows.size());
    for (int i : order) ordered.push_back(std::move(gridRows[size_t(i)]));
    grid.clear();
    if (grid.headers() != dirHogHeaders()) grid.setHeaders(dirHogHeaders());
    grid.appendRows(std::move(ordered));
}

void sortDirHogsLargestFirst(GridModel& grid) {
    if (grid.rowCount() > 1) sortGridByNumber(grid, 0, grid.rowCount() - 1, true, 0);
}

}  // namespace vastel
