#include "app/FoundRowPrinter.h"

#include "core/FieldEscape.h"
#include "core/Utility.h"
#include "platform/NativePath.h"

#include <QLocale>

namespace vastel {

namespace {
using Field = FoundColumns::Field;

bool isAscii(QByteArrayView bytes) {
    for (const char c : bytes)
        if (uchar(c) >= 0x80) return false;
    return true;
}
}  // namespace

FoundRowPrinter::FoundRowPrinter(RowPrinter& rows, const FoundColumns& columns)
    : rows_(rows), columns_(columns), dates_(65536), haveDate_(65536, false) {
    // Sizes are formatted here when that gives thousandsText's very texts in this locale.
    groupSeparator_ = QLocale().groupSeparator().toUtf8();
    fastSizes_ = true;
    for (const qint64 probe : {qint64(0), qint64(7), qint64(999), qint64(1000), qint64(1234567),
                               qint64(-45678), qint64(9'223'372'036'854'775'807)}) {
        QByteArray mine;
        formatSize(mine, probe);
        if (mine != thousandsText(probe).toUtf8()) fastSizes_ = false;
    }
}

void FoundRowPrinter::formatSize(QByteArray& out, qint64 size) const {
    char digits[24];
    int n = 0;
    quint64 v = size < 0 ? quint64(0) - quint64(size) : quint64(size);
    do {
        digits[n++] = char('0' + v % 10);
        v /= 10;
    } while (v);
    if (size < 0) out.append('-');
    for (int i = n - 1; i >= 0; --i) {
        out.append(digits[i]);
        if (i > 0 && i % 3 == 0) out.append(groupSeparator_);
    }
}

void FoundRowPrinter::sizeCell(qint64 size) {
    if (!fastSizes_) {
        rows_.cell(thousandsText(size));
        return;
    }
    sizeText_.resize(0);
    formatSize(sizeText_, size);
    rows_.plainCell(sizeText_);
}

void FoundRowPrinter::dateCell(quint32 stamp) {
    if (stamp == 0) {
        rows_.plainCell(QByteArrayView());
        return;
    }
    // A date text depends on the stamp's date half only.
    const quint32 day = stamp >> 16;
    if (!haveDate_[day]) {
        appendEscapedField(dates_[day], columns_.dateText(stamp).toUtf8());
        haveDate_[day] = true;
    }
    rows_.plainCell(dates_[day]);
}

void FoundRowPrinter::print(const ResultRecord& r) {
    const qsizetype folderLength = std::min<qsizetype>(r.folderLength, r.path.size());
    const QByteArray folder = r.path.left(folderLength);  // owned: see Row::folder
    const qsizetype nameStart = folderLength + (folderLength > 0 && !folder.endsWith('/') ? 1 : 0);
    printRow({folder, QByteArrayView(r.path).sliced(std::min(nameStart, r.path.size())), r.size,
              r.modified, r.accessed, r.created, r.type});
}

void FoundRowPrinter::print(const WalkFile& file, qint32 type) {
    const DirEntry& e = file.entry;
    printRow({file.folder, e.name, e.size, e.lastWrite, e.lastAccess,
              e.hasCreation ? e.creation : 0, type});
}

void FoundRowPrinter::printRow(const Row& r) {
    const QByteArray& folder = r.folder;
    const QByteArrayView name = r.name;
    for (int c = 0; c < columns_.count(); ++c) {
        switch (columns_.field(c)) {
            case Field::Name:
                // Valid UTF-8 is its own display text.
                if (isAscii(name) || isValidUtf8(name.toByteArray()))
                    rows_.cell(name);
                else
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
    rows_.pathCell(folder, name).endRow();
}

}  // namespace vastel
