#include "app/FoundRowPrinter.h"

#include "core/FieldEscape.h"
#include "core/Utility.h"
#include "platform/NativePath.h"

#include <QLocale>
#include <cstring>

namespace vastel {

namespace {
using Field = FoundColumns::Field;

bool isAscii(QByteArrayView bytes) {
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    quint64 high = 0;
    for (; end - p >= 8; p += 8) {
        quint64 w;
        std::memcpy(&w, p, 8);
        high |= w;
    }
    for (; p < end; ++p) high |= uchar(*p);
    return (high & 0x8080808080808080ull) == 0;
}
}  // namespace

FoundRowPrinter::FoundRowPrinter(RowPrinter& rows, const FoundColumns& columns)
    : rows_(rows), columns_(columns), dateSlots_(65536, 0) {
    // Sizes are formatted here when that gives thousandsText's very texts in this locale.
    groupSeparator_ = QLocale().groupSeparator().toUtf8();
    // Six separators and a sign beside 19 digits must fit a size text.
    fastSizes_ = groupSeparator_.size() <= 6;
    for (const qint64 probe : {qint64(0), qint64(7), qint64(999), qint64(1000), qint64(1234567),
                               qint64(-45678), qint64(9'223'372'036'854'775'807)}) {
        if (!fastSizes_) break;
        char mine[kSizeTextBytes];
        if (QByteArrayView(mine, formatSize(mine, probe)) != thousandsText(probe).toUtf8())
            fastSizes_ = false;
    }
}

qsizetype FoundRowPrinter::formatSize(char* out, qint64 size) const {
    char digits[24];
    int n = 0;
    quint64 v = size < 0 ? quint64(0) - quint64(size) : quint64(size);
    do {
        digits[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    char* p = out;
    if (size < 0) *p++ = '-';
    const char* separator = groupSeparator_.constData();
    const size_t separatorLength = size_t(groupSeparator_.size());
    for (int i = n - 1; i >= 0; --i) {
        *p++ = digits[i];
        if (i > 0 && i % 3 == 0) {
            std::memcpy(p, separator, separatorLength);
            p += separatorLength;
        }
    }
    return p - out;
}

void FoundRowPrinter::sizeCell(qint64 size) {
    if (!fastSizes_) {
        rows_.cell(thousandsText(size));
        return;
    }
    char text[kSizeTextBytes];
    rows_.plainCell(QByteArrayView(text, formatSize(text, size)));
}

void FoundRowPrinter::dateCell(quint32 stamp) {
    if (stamp == 0) {
        rows_.plainCell(QByteArrayView());
        return;
    }
    // A date text depends on the stamp's date half only.
    quint32& slot = dateSlots_[stamp >> 16];
    if (slot == 0) {
        const qsizetype start = dateTexts_.size();
        appendEscapedField(dateTexts_, columns_.dateText(stamp).toUtf8());
        dateSpans_.push_back({start, dateTexts_.size() - start});
        slot = quint32(dateSpans_.size());
    }
    const DateSpan& span = dateSpans_[slot - 1];
    rows_.plainCell(QByteArrayView(dateTexts_.constData() + span.start, span.length));
}

void FoundRowPrinter::print(const ResultRecord& r) {
    const QByteArray folder = r.folder().toByteArray();  // owned: see Row::folder
    printRow({folder, r.name(), r.size, r.modified, r.accessed, r.created, r.type});
}

void FoundRowPrinter::print(const WalkFile& file, qint32 type) {
    const DirEntry& e = file.entry;
    printRow({file.folder, e.name, e.size, e.lastWrite, e.lastAccess,
              e.hasCreation ? e.creation : 0, type});
}

void FoundRowPrinter::printRow(const Row& r) {
    const QByteArray& folder = r.folder;
    const QByteArrayView name = r.name;
    bool nameCellIsPath = false;  // the Name cell holds the name's escaped bytes
    RowPrinter::CellSpan nameCell;
    for (int c = 0; c < columns_.count(); ++c) {
        switch (columns_.field(c)) {
            case Field::Name:
                // Valid UTF-8 is its own display text.
                if (isAscii(name) || isValidUtf8(name.toByteArray())) {
                    rows_.cell(name);
                    nameCell = rows_.lastCell();
                    nameCellIsPath = true;
                } else
                    rows_.cell(displayPath(name.toByteArray()));
                break;
            case Field::Size:
                sizeCell(r.size);
                break;
            case Field::Modified:
                dateCell(r.modified);
                break;
            case Field::Access:
                dateCell(r.accessed);
                break;
            case Field::Created:
                dateCell(r.created);
                break;
            case Field::Folder:
                if (folder != lastFolder_) {
                    lastFolder_ = QByteArray(folder.constData(), folder.size());
                    lastFolderText_.clear();
                    appendEscapedField(lastFolderText_, displayPath(lastFolder_).toUtf8());
                }
                rows_.plainCell(lastFolderText_);
                break;
            case Field::Type:
                if (r.type >= 0) {
                    if (size_t(r.type) >= types_.size()) types_.resize(size_t(r.type) + 1);
                    QByteArray& text = types_[size_t(r.type)];
                    if (text.isNull()) {
                        text = QByteArray("");
                        appendEscapedField(text, columns_.typeText(r.type).toUtf8());
                    }
                    rows_.plainCell(text);
                } else {
                    rows_.cell(QByteArrayView());
                }
                break;
            case Field::Time:
                rows_.cell(columns_.timeText(r.modified));
                break;
            case Field::Path:
                rows_.cell(displayPath(joinPath(folder, name.toByteArray())));
                break;
        }
    }
    if (nameCellIsPath)
        rows_.pathCell(folder, nameCell).endRow();
    else
        rows_.pathCell(folder, name).endRow();
}

}  // namespace vastel
