#include "app/RowPrinter.h"

#include "core/FieldEscape.h"

#include <algorithm>
#include <cstring>

namespace vastel {

namespace {
constexpr qsizetype kFlushBytes = 256 * 1024;
}  // namespace

RowPrinter::RowPrinter(std::FILE* out) : out_(out) { grow(kFlushBytes + 8192); }

RowPrinter::~RowPrinter() { flush(); }

void RowPrinter::grow(qsizetype n) {
    // Only a row longer than a block makes the buffer grow past its first size.
    const qsizetype capacity = std::max(capacity_ * 2, size_ + n);
    std::unique_ptr<char[]> bigger(new char[size_t(capacity)]);
    if (size_ > 0) std::memcpy(bigger.get(), buffer_.get(), size_t(size_));
    buffer_ = std::move(bigger);
    capacity_ = capacity;
}

void RowPrinter::append(const char* data, qsizetype n) {
    if (n <= 0) return;
    std::memcpy(room(n), data, size_t(n));
    size_ += n;
}

void RowPrinter::appendEscaped(const char* data, qsizetype n) {
    char* const out = room(2 * n);
    size_ = escapeFieldInto(out, data, n) - buffer_.get();
}

RowPrinter& RowPrinter::cell(QByteArrayView bytes) {
    separate();
    appendEscaped(bytes.data(), bytes.size());
    return *this;
}

RowPrinter& RowPrinter::cell(const QString& text) { return cell(QByteArrayView(text.toUtf8())); }

RowPrinter& RowPrinter::plainCell(QByteArrayView bytes) {
    separate();
    append(bytes.data(), bytes.size());
    return *this;
}

void RowPrinter::useFolder(const QByteArray& folder) {
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
}

RowPrinter& RowPrinter::pathCell(const QByteArray& folder, QByteArrayView name) {
    useFolder(folder);
    separate();
    append(escapedFolder_.constData(), escapedFolder_.size());
    appendEscaped(name.data(), name.size());
    return *this;
}

RowPrinter& RowPrinter::pathCell(const QByteArray& folder, CellSpan escapedName) {
    useFolder(folder);
    separate();
    append(escapedFolder_.constData(), escapedFolder_.size());
    const qsizetype n = escapedName.end - escapedName.start;
    // room() may move the buffer: the span is an offset into it.
    char* const out = room(n);
    std::memcpy(out, buffer_.get() + escapedName.start, size_t(n));
    size_ += n;
    return *this;
}

void RowPrinter::endRow() {
    *room(1) = '\n';
    ++size_;
    rowStarted_ = false;
    if (size_ >= kFlushBytes) flush();
}

void RowPrinter::flush() {
    if (size_ == 0) return;
    if (std::fwrite(buffer_.get(), 1, size_t(size_), out_) != size_t(size_)) failed_ = true;
    size_ = 0;
}

bool RowPrinter::finish() {
    flush();
    if (std::fflush(out_) != 0 || std::ferror(out_)) failed_ = true;
    return !failed_;
}

}  // namespace vastel
