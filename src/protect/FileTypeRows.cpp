#include "protect/FileTypeRows.h"

#include "core/CountedList.h"
#include "core/SettingsStore.h"
#include "core/Utility.h"

#include <algorithm>

namespace vastel {

const QString kProtectedTypesSection = QStringLiteral("NoDelExt");
const QString kTemporaryTypesSection = QStringLiteral("TempFiles");

const QStringList& protectedTypesFirstUse() {
    static const QStringList types{QStringLiteral("*.drv"), QStringLiteral("*.sys")};
    return types;
}

const QStringList& temporaryTypesFirstUse() {
    static const QStringList types{QStringLiteral("*.tmp"), QStringLiteral("*.fts"),
                                   QStringLiteral("*.bak"), QStringLiteral("*.$$$")};
    return types;
}

const QStringList& protectedTypesDefaults() {
    static const QStringList types{QStringLiteral("*.sys"), QStringLiteral("*.drv")};
    return types;
}

const QStringList& temporaryTypesDefaults() {
    static const QStringList types{
        QStringLiteral("*.bak"),  QStringLiteral("*.chk"), QStringLiteral("*.tmp"),
        QStringLiteral("*.temp"), QStringLiteral("*.fts"), QStringLiteral("*.old"),
        QStringLiteral("*.$$$"),  QStringLiteral("*.---"), QStringLiteral("*.~mp"),
        QStringLiteral("*.~*"),   QStringLiteral("*.gid"), QStringLiteral("*.ftg"),
        QStringLiteral("*.da0"),  QStringLiteral("*.db$")};
    return types;
}

QString typeExtension(const QString& pattern) {
    const qsizetype dot = pattern.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : pattern.mid(dot);
}

QString typeDescription(const QString& pattern) { return fileTypeText(typeExtension(pattern)); }

QString typeRow(const QString& pattern) {
    return pattern + QLatin1Char('\t') + typeDescription(pattern);
}

QStringList readTypeRows(const QString& section, const QStringList& firstUse) {
    const SettingsStore store;
    QStringList rows;
    for (const QString& pattern : readCountedList(store, section, firstUse)) {
        const QString row = typeRow(pattern);
        rows.insert(sortedRowPosition(rows, row), row);
    }
    return rows;
}

void writeTypeRows(const QString& section, const QStringList& rows) {
    QStringList patterns;
    patterns.reserve(rows.size());
    for (const QString& row : rows) patterns.append(patternOfDisplayEntry(row));
    SettingsStore store;
    writeCountedList(store, section, patterns);
}

bool containsRowNoCase(const QStringList& rows, const QString& row) {
    return std::any_of(rows.begin(), rows.end(),
                       [&](const QString& r) { return r.compare(row, Qt::CaseInsensitive) == 0; });
}

qsizetype sortedRowPosition(const QStringList& rows, const QString& row) {
    return std::upper_bound(rows.begin(), rows.end(), row,
                            [](const QString& a, const QString& b) {
                                return a.compare(b, Qt::CaseInsensitive) < 0;
                            }) -
           rows.begin();
}

QString normaliseTypePattern(const QString& typed) {
    const QString t = typed.trimmed();
    if (t.isEmpty() || t == QLatin1String("*.*") || t == QLatin1String(".*") ||
        t == QLatin1String("*"))
        return QString();
    if (t.startsWith(QLatin1String("*."))) return t;
    const bool star = t.contains(QLatin1Char('*'));
    if (!star && !t.contains(QLatin1Char('.'))) return QStringLiteral("*.") + t;
    if (!star && t.startsWith(QLatin1Char('.'))) return QLatin1Char('*') + t;
    return t;
}

}  // namespace vastel
