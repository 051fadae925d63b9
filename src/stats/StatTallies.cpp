#include "stats/StatTallies.h"

#include "stats/StatRules.h"

#include <algorithm>

namespace vastel {

QString TypeRecord::line() const {
    return QString::fromUtf8(extension) + QLatin1Char('\t') + QString::number(count) +
           QLatin1Char('\t') + QString::number(bytes);
}

namespace {

bool extensionLess(const TypeRecord& record, QByteArrayView extension) {
    return QByteArrayView(record.extension) < extension;
}

}  // namespace

int StatTallies::findType(QByteArrayView extension) const {
    const auto at = std::lower_bound(types.begin(), types.end(), extension, extensionLess);
    if (at == types.end() || QByteArrayView(at->extension) != extension) return -1;
    return int(at - types.begin());
}

void StatTallies::insertType(QByteArrayView extension, qint64 size, bool listOnly) {
    if (extensionLength(extension) > kMaxTypeExtension) return;
    // Upper-cased on the stack: this runs for every file of a run.
    char buffer[kMaxTypeExtension * 4];
    const qsizetype n = extension.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char c = extension[i];
        buffer[i] = c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
    }
    const QByteArrayView upper(buffer, n);
    const auto at = std::lower_bound(types.begin(), types.end(), upper, extensionLess);
    if (at != types.end() && QByteArrayView(at->extension) == upper) {
        if (!listOnly) {
            at->count += 1;
            at->bytes += size;
        }
        return;
    }
    types.insert(at, TypeRecord{upper.toByteArray(), listOnly ? 0 : 1, size});
}

}  // namespace vastel
