#pragma once

#include "core/ResultRecord.h"
#include "core/ScanTarget.h"
#include "core/TreeWalk.h"
#include "core/WalkSink.h"
#include "finders/ContentGroups.h"
#include "finders/DupColumns.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace vastel {

class GridModel;

// The size condition of the duplicate and file-hog finder, in bytes. Sizes and bounds are
// 64-bit, so files of 2 GiB and more and bounds above 2,097,151 KB work.
enum class SizeChoice { Larger, Smaller, Between };
struct SizeCondition {
    SizeChoice choice = SizeChoice::Larger;
    qint64 lower = 250 * 1024;
    qint64 upper = 250 * 1024;

    // The window's two numbers and unit; "KB" multiplies by 1024 (saturating).
    static SizeCondition fromNumbers(SizeChoice choice, qint64 first, qint64 second,
                                     bool kilobytes);
    bool passes(qint64 size) const;
};

enum class FinderMode { Duplicates, FileHogs };

// The match mode that compares contents: files whose bytes are equal, whatever their names and
// dates. It follows the seven modes of the match-mode box.
constexpr int kContentMatchMode = 7;

// What the finder looks for.
struct DupOptions {
    FinderMode mode = FinderMode::Duplicates;
    int matchMode = 0;  // index of the match-mode box, 0 to 6, or kContentMatchMode
    SizeCondition size;
    // Content mode: the stage of the comparison and the bytes read so far.
    std::function<void(ContentStage stage, qint64 bytesRead)> contentProgress;
};

// Texts of the match-mode box, in index order ("Filename only", ...).
const QStringList& matchModeTexts();
// The caption of kContentMatchMode: "Identical content".
const QString& contentMatchModeText();
// Grid headers: "Filename", "Size", "Modified", "Time", "Access", "Folder", "Type" for
// duplicates; "Size", "Modified", "Time", "Access", "FileName", "Type" for file hogs.
const QStringList& duplicateHeaders();
const QStringList& fileHogHeaders();
// The column of the grid that carries the mark and the Safe Harbor highlight.
int markColumnOf(FinderMode mode);  // 0 (Filename) or 4 (FileName)
int folderColumn();                 // 5: the Folder column of duplicate mode

// What a scan found, in grid order: the records and the column table that shows them.
// Content mode: a group's rows are in a run of one shade, the shades alternating group by
// group; links holds, by record, the file's other names (hard links of it, listed nowhere
// else), and is empty in the other modes.
struct DupRecords {
    std::shared_ptr<const DupColumns> columns;
    std::vector<ResultRecord> records;
    std::vector<QByteArrayList> links;
    ContentGroupResult content;  // the comparison's counts (its groups moved into records)
};

// The collection list of a scan and its post-processing into grid records. It is the walk's
// sink: files that pass the size condition are kept as compact records (exact name bytes, the
// folder they were found in, size, stamps), not as text lines; the grid's column table makes
// texts only for the cells that are drawn.
//
// Duplicates: the records are ordered as the tab-separated lines of the collection would be
// (field by field, without regard to case), runs of two or more records with equal keys become
// groups, in that order, and rows are shaded A and B by group. Keys compare field by field on
// the exact bytes of names with ASCII letters folded (and the case of valid UTF-8 folded), so
// names that differ only in invalid bytes never meet.
// Content mode: the files that pass the size condition are compared by their bytes
// (ContentGroups); groups are ordered as "Size only" orders its lines, by their first row,
// and the rows of a group in that order.
// File hogs: every record, last to first; the window then sorts them largest first.
class DupCollection : public WalkSink {
  public:
    explicit DupCollection(const DupOptions& options);
    ~DupCollection() override;
    DupCollection(const DupCollection&) = delete;
    DupCollection& operator=(const DupCollection&) = delete;

    bool accepts(const WalkFile& file) override;
    void collect(const WalkFile& file) override;

    qint64 count() const;  // records collected so far
    void clear();

    // The records of the grid in grid order (addDups or reSort, then addToGrid): their exact
    // paths, sizes, stamps and types and, for duplicates, their shades, with the column table
    // that holds the texts the scan made. Empties the collection. The token stops the content
    // comparison, which then lists the groups it had confirmed.
    DupRecords takeRecords(StopToken* stop = nullptr);

  private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// File hogs end largest first: the number sort on the Size column, descending.
void sortLargestFirst(GridModel& grid);

// The whole finder without a window, for vastel-scan and the benchmarks: the walk of the
// targets with the pattern, the collection, and the records in the order the grid shows them.
struct DupRun {
    std::shared_ptr<const DupColumns> columns;
    std::vector<ResultRecord> records;
    std::vector<QByteArrayList> links;  // as in DupRecords
    ContentGroupResult content;
    TreeWalk::Summary summary;
};
DupRun runDupFinder(const std::vector<ScanTarget>& targets, const QByteArray& pattern,
                    const DupOptions& options, WalkProgress& progress, StopToken& abort);

}  // namespace vastel
