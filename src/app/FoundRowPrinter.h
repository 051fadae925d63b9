#pragma once

#include "app/RowPrinter.h"
#include "core/ResultRecord.h"
#include "core/WalkFile.h"
#include "finders/FoundColumns.h"

#include <QByteArray>
#include <vector>

namespace vastel {

// Prints the quick clean's and the files-by-date records for vastel-scan: each grid cell as
// the grid shows it, then the exact path. The texts that many rows share (dates, folders,
// types) are made and escaped once, so that printing every file of a big tree costs little
// beside the walk.
class FoundRowPrinter {
  public:
    FoundRowPrinter(RowPrinter& rows, const FoundColumns& columns);
    void print(const ResultRecord& record);
    // The same row straight from the walk, without making a record.
    void print(const WalkFile& file, qint32 type);

    // What a row is printed from.
    struct Row {
        // The folder's bytes. RowPrinter::pathCell knows a folder again by its buffer, so this
        // is the walk's own path (which moves to a new buffer when it changes), never a raw
        // view of it.
        const QByteArray& folder;
        QByteArrayView name;
        qint64 size;
        quint32 modified, accessed, created;
        qint32 type;
    };
    void printRow(const Row& row);

  private:
    void dateCell(quint32 stamp);
    void sizeCell(qint64 size);
    static constexpr qsizetype kSizeTextBytes = 64;
    // The size's text at out (kSizeTextBytes of room); returns its length.
    qsizetype formatSize(char* out, qint64 size) const;

    RowPrinter& rows_;
    const FoundColumns& columns_;
    // Escaped UTF-8 date texts, one after the other; by the stamp's date half, the number of
    // the text's span (0: not made yet).
    struct DateSpan {
        qsizetype start, length;
    };
    std::vector<quint32> dateSlots_;
    std::vector<DateSpan> dateSpans_;
    QByteArray dateTexts_;
    std::vector<QByteArray> types_;  // escaped, by type index
    QByteArray lastFolder_, lastFolderText_;
    QByteArray groupSeparator_;  // UTF-8; empty: sizes go through thousandsText
    bool fastSizes_ = false;
};

}  // namespace vastel
