#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdio>
#include <memory>

namespace vastel {

// The output of vastel-scan: one row per line, cells separated by TAB, every cell escaped as
// escapeField does (so a path keeps its exact bytes and still stays on its line). Lines are
// gathered and written in large blocks; nothing reaches the stream before a block is full or
// the printer is flushed.
class RowPrinter {
  public:
    explicit RowPrinter(std::FILE* out = stdout);
    ~RowPrinter();
    RowPrinter(const RowPrinter&) = delete;
    RowPrinter& operator=(const RowPrinter&) = delete;

    RowPrinter& cell(QByteArrayView bytes);
    RowPrinter& cell(const QByteArray& bytes) { return cell(QByteArrayView(bytes)); }
    RowPrinter& cell(const char* bytes) { return cell(QByteArrayView(bytes)); }
    RowPrinter& cell(const QString& text);  // as UTF-8
    // A cell known to hold no byte that needs escaping (numbers, hexadecimal stamps).
    RowPrinter& plainCell(QByteArrayView bytes);
    // A path given as its folder and a name in it; the folder's escaped text is kept for the
    // next files of the same folder, as a walk hands them over.
    RowPrinter& pathCell(const QByteArray& folder, QByteArrayView name);
    // Where the last cell's bytes lie in the row being written (valid until endRow).
    struct CellSpan {
        qsizetype start = 0, end = 0;
    };
    CellSpan lastCell() const { return {cellStart_, size_}; }
    // pathCell with a name whose escaped bytes are already an earlier cell of this row.
    RowPrinter& pathCell(const QByteArray& folder, CellSpan escapedName);
    void endRow();

    // Writes what is gathered. finish() flushes the stream too and tells whether every write
    // succeeded.
    void flush();
    bool finish();

  private:
    // Room for n more bytes at the end of the buffer; buffer_ holds size_ bytes of output.
    char* room(qsizetype n) {
        if (capacity_ - size_ < n) grow(n);
        return buffer_.get() + size_;
    }
    void grow(qsizetype n);
    void separate() {
        if (rowStarted_) {
            *room(1) = '\t';
            ++size_;
        }
        rowStarted_ = true;
        cellStart_ = size_;
    }
    void useFolder(const QByteArray& folder);
    void append(const char* data, qsizetype n);
    void appendEscaped(const char* data, qsizetype n);

    std::FILE* out_;
    std::unique_ptr<char[]> buffer_;
    qsizetype size_ = 0;
    qsizetype capacity_ = 0;
    qsizetype cellStart_ = 0;
    QByteArray folder_;
    QByteArray escapedFolder_;
    bool rowStarted_ = false;
    bool failed_ = false;
};

}  // namespace vastel
