#include "finders/DirHogFinder.h"

#include "core/DateTexts.h"
#include "core/GridModel.h"
#include "core/SortGrid.h"
#include "core/SubtreeWalks.h"
#include "core/TreeWalk.h"
#include "core/Utility.h"
#include "core/WalkSink.h"
#include "finders/FieldTexts.h"
#include "platform/NativePath.h"
#include "platform/Volumes.h"

#include <QLocale>
#include <algorithm>
#include <memory>
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

// One walk's part of a parallel scan: its events in walk order, with the files that have
// several links kept aside, so that the parts can be put together as one walk would have met
// them (the order of the rows, and where such a file counts first).
class DirHogPiece final : public WalkSink {
  public:
    struct Event {
        enum Kind : quint8 { Row, Linked, Subtree } kind;
        quint32 index;
    };
    struct LinkedFile {
        dev_t device;
        ino_t inode;
        qint64 size;
        quint32 lastAccess;
        quint32 tally;
    };
    struct PieceRow {
        QByteArray path;
        quint32 tally;
    };

    DirHogPiece(DirHogScan scan, bool top) : scan_(scan), top_(top) {
        if (!top_ && scan_ == DirHogScan::Main) tallies.emplace_back();  // the whole sub-tree
    }

    void folderStarted(const QByteArray& folder) override {
        if (scan_ == DirHogScan::All) {
            open_.push_back(quint32(tallies.size()));
            tallies.emplace_back();
            return;
        }
        if (!top_) {
            ++tallies[0].subfolders;  // every folder entered lies below a main folder
            return;
        }
        ++depth_;
        if (depth_ == 2) {
            main_ = qint32(tallies.size());
            tallies.emplace_back();
            mainPath_ = folder;
        } else if (depth_ > 2) {
            ++tallies[size_t(main_)].subfolders;
        }
    }

    void folderListed(const QByteArray&, qint64 folders) override {
        if (scan_ == DirHogScan::All && !open_.empty()) {
            tallies[open_.back()].subfolders = folders;
            tallies[open_.back()].listed = true;
        }
    }

    void collect(const WalkFile& file) override {
        qint32 tally = -1;
        if (scan_ == DirHogScan::All)
            tally = open_.empty() ? -1 : qint32(open_.back());
        else if (!top_)
            tally = 0;
        else if (depth_ >= 2)
            tally = main_;
        if (tally < 0) return;
        const DirEntry& e = file.entry;
        if (e.links > 1) {
            events.push_back({Event::Linked, quint32(linked.size())});
            linked.push_back({e.device, e.inode, e.size, e.lastAccess, quint32(tally)});
            return;
        }
        Tally& t = tallies[size_t(tally)];
        t.size += e.size;
        ++t.files;
        t.latest = std::max(t.latest, e.lastAccess);
    }

    void folderFinished(const QByteArray& folder) override {
        if (scan_ == DirHogScan::All) {
            if (open_.empty()) return;
            const quint32 tally = open_.back();
            open_.pop_back();
            if (tallies[tally].listed) addRow(folder, tally);
            return;
        }
        if (!top_) return;
        if (depth_ == 2 && main_ >= 0) {
            addRow(mainPath_, quint32(main_));
            main_ = -1;
        }
        --depth_;
    }

    void subtreeFound(const WalkSubtree& subtree) override {
        events.push_back({Event::Subtree, quint32(subtrees.size())});
        subtrees.push_back(subtree);
        subtreeMain.push_back(main_);
    }

    std::vector<Tally> tallies;
    std::vector<PieceRow> rows;
    std::vector<LinkedFile> linked;
    std::vector<Event> events;
    std::vector<WalkSubtree> subtrees;  // the top walk's hand-overs
    std::vector<qint32> subtreeMain;    // Main: the tally of the main folder each lies in

  private:
    void addRow(const QByteArray& path, quint32 tally) {
        events.push_back({Event::Row, quint32(rows.size())});
        rows.push_back({path, tally});
    }

    DirHogScan scan_;
    bool top_;
    std::vector<quint32> open_;  // All: the tallies of the folders on the current path
    int depth_ = 0;              // Main, top walk: 1 for the root, 2 for a main folder
    qint32 main_ = -1;
    QByteArray mainPath_;
};

// The top levels walked first, then the sub-trees below the main folders on several threads.
void scanTargetInParallel(const ScanTarget& target, const DirHogOptions& options,
                          const WalkOptions& walkOptions, TreeWalk& topWalk, DirHogPiece& top,
                          WalkProgress& progress, StopToken& stop, DirHogResult& result,
                          std::unordered_set<FileIdentity, FileIdentityHash>& linked,
                          qint64 volumeBytes) {
    topWalk.scanTarget(target);
    std::vector<std::unique_ptr<DirHogPiece>> pieces;
    pieces.reserve(top.subtrees.size());
    for (size_t i = 0; i < top.subtrees.size(); ++i)
        pieces.push_back(std::make_unique<DirHogPiece>(options.scan, false));
    walkSubtrees(
        top.subtrees, walkOptions, options.threads,
        [&](size_t i) -> WalkSink& { return *pieces[i]; }, stop);

    // A file with several links counts where one walk would have met it first.
    const auto resolve = [&](DirHogPiece& piece, quint32 index) {
        const DirHogPiece::LinkedFile& f = piece.linked[index];
        if (!linked.insert(FileIdentity{f.device, f.inode}).second) return;
        Tally& t = piece.tallies[f.tally];
        t.size += f.size;
        ++t.files;
        t.latest = std::max(t.latest, f.lastAccess);
    };
    for (const DirHogPiece::Event& e : top.events) {
        if (e.kind == DirHogPiece::Event::Linked) resolve(top, e.index);
        if (e.kind != DirHogPiece::Event::Subtree) continue;
        DirHogPiece& piece = *pieces[e.index];
        for (const DirHogPiece::Event& inner : piece.events)
            if (inner.kind == DirHogPiece::Event::Linked) resolve(piece, inner.index);
    }
    if (options.scan == DirHogScan::Main) {
        for (size_t i = 0; i < pieces.size(); ++i) {
            if (top.subtreeMain[i] < 0) continue;
            const Tally& part = pieces[i]->tallies[0];
            Tally& main = top.tallies[size_t(top.subtreeMain[i])];
            main.size += part.size;
            main.files += part.files;
            main.subfolders += part.subfolders;
            main.latest = std::max(main.latest, part.latest);
        }
    }
    const auto addRow = [&](const DirHogPiece& piece, quint32 index) {
        if (result.full) return;
        if (qint64(result.rows.size()) >= options.capacity) {
            result.full = true;
            stop.request();
            progress.collectionFull();
            return;
        }
        const DirHogPiece::PieceRow& r = piece.rows[index];
        const Tally& t = piece.tallies[r.tally];
        DirHogRow row;
        row.path = r.path;
        row.size = t.size;
        row.files = t.files;
        row.subfolders = t.subfolders;
        row.latest = t.latest;
        row.volumeBytes = volumeBytes;
        result.rows.push_back(std::move(row));
    };
    for (const DirHogPiece::Event& e : top.events) {
        if (e.kind == DirHogPiece::Event::Row) addRow(top, e.index);
        if (e.kind != DirHogPiece::Event::Subtree) continue;
        const DirHogPiece& piece = *pieces[e.index];
        for (const DirHogPiece::Event& inner : piece.events)
            if (inner.kind == DirHogPiece::Event::Row) addRow(piece, inner.index);
    }
}

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
    if (options.threads > 1) {
        // Sub-trees from two levels below the root on: the main folders stay whole rows.
        walkOptions.splitDepth = 2;
        std::unordered_set<FileIdentity, FileIdentityHash> linked;
        for (const ScanTarget& target : targets) {
            if (!targetReady(target)) continue;
            DirHogPiece top(options.scan, true);
            TreeWalk walk(walkOptions, top, progress, stop);
            scanTargetInParallel(target, options, walkOptions, walk, top, progress, stop, result,
                                 linked, volumeBytesOf(target.root));
            result.failedTargets += walk.failedTargets();
        }
        return result;
    }
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
