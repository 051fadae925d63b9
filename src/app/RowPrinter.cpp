#include "app/RowPrinter.h"

#include "core/FieldEscape.h"

namespace vastel {

namespace {
constexpr qsizetype kFlushBytes = 256 * 1024;
}  // namespace

RowPrinter::RowPrinter(std::FILE* out) : out_(out) { buffer_.reserve(kFlushBytes + 8192); }

RowPrinter::~RowPrinter() { flush(); }

void RowPrinter::separate() {
    if (rowStarted_) buffer_.append('\t');
    rowStarted_ = true;
}

RowPrinter& RowPrinter::cell(QByteArrayView bytes) {
    separate();
    // appendEscapedField takes a QByteArray; a raw view of the bytes avoids a copy.
    appendEscapedField(buffer_, QByteArray::fromRawData(bytes.data(), bytes.size()));
    return *this;
}

RowPrinter& RowPrinter::cell(const QString& text) { return cell(QByteArrayView(text.toUtf8())); }

RowPrinter& RowPrinter::plainCell(QByteArrayView bytes) {
    separate();
    buffer_.append(bytes);
    return *this;
}

RowPrinter& RowPrinter::pathCell(const QByteArray& folder, QByteArrayView name) {
    // The walk shares its path buffer with the files it hands over, so the test for the same
    // folder is a pointer comparison in most cases.
    if (folder.constData() != folder_.constData() || folder.size() != folder_.size()) {
        const bool changed = folder != folder_;
        folder_ = folder;
        if (changed) {
            escapedFolder_.resize(0);  // keeps the capacity, unlike clear()
            appendEscapedField(escapedFolder_, folder_);
            if (!folder_.endsWith('/')) escapedFolder_.append('/');
        }
    }
    separate();
    buffer_.append(escapedFolder_);
    appendEscapedField(buffer_, QByteArray::fromRawData(name.data(), name.size()));
    return *this;
}

void RowPrinter::endRow() {
    buffer_.append('\n');
    rowStarted_ = false;
    if (buffer_.size() >= kFlushBytes) flush();
}

void RowPrinter::flush() {
    if (buffer_.isEmpty()) return;
    if (std::fwrite(buffer_.constData(), 1, size_t(buffer_.size()), out_) != size_t(buffer_.size()))
        failed_ = true;
    buffer_.resize(0);
}

bool RowPrinter::finish() {
    flush();
    if (std::fflush(out_) != 0 || std::ferror(out_)) failed_ = true;
    return !failed_;
}

}  // namespace vastel
