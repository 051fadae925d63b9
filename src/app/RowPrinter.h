#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdio>

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
    void endRow();

    // Writes what is gathered. finish() flushes the stream too and tells whether every write
    // succeeded.
    void flush();
    bool finish();

  private:
    void separate();

    std::FILE* out_;
    QByteArray buffer_;
    QByteArray folder_;
    QByteArray escapedFolder_;
    bool rowStarted_ = false;
    bool failed_ = false;
};

}  // namespace vastel
