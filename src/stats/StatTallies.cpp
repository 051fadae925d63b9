#include "stats/StatTallies.h"

#include "stats/StatRules.h"

#include <algorithm>

namespace vastel {

QString TypeRecord::line() const {
    return QString::fromUtf8(extension) + QLatin1Char('\t') + QString::number(count) +
           QLatin1Char('\t') + QString::number(bytes);
}

namespace {

bool extensionLess(const TypeRecord& record, const QByteArray& extension) {
    return record.extension < extension;
}

}  // namespace

int StatTallies::findType(const QByteArray& extension) const {
    const auto at = std::lower_bound(types.begin(), types.end(), extension, extensionLess);
    if (at == types.end() || at->extension != extension) return -1;
    return int(at - types.begin());
}

void StatTallies::insertType(const QByteArray& extension, qint64 size, bool listOnly) {
    if (extensionLength(extension) > kMaxTypeExtension) return;
    const QByteArray upper = extension.toUpper();
    const auto at = std::lower_bound(types.begin(), types.end(), upper, extensionLess);
    if (at != types.end() && at->extension == upper) {
        if (!listOnly) {
            at->count += 1;
            at->bytes += size;
        }
        return;
    }
    types.insert(at, TypeRecord{upper, listOnly ? 0 : 1, size});
}

}  // namespace vastel
