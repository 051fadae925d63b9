#pragma once

#include <QString>
#include <QStringList>

namespace vastel {

// File-type lists as their windows show them: one row per type, the pattern, a TAB and the
// description of its extension. Only the patterns are stored, as a counted list.

// The protected types ("NoDelExt") and the temporary types ("TempFiles").
extern const QString kProtectedTypesSection;
extern const QString kTemporaryTypesSection;
// Shown when a list was never saved.
const QStringList& protectedTypesFirstUse();  // "*.drv", "*.sys"
const QStringList& temporaryTypesFirstUse();  // four types
// Added by the windows' "D&efaults" button, in this order.
const QStringList& protectedTypesDefaults();  // "*.sys", "*.drv"
const QStringList& temporaryTypesDefaults();  // fourteen types

// The pattern's text from its last "."; empty when it has none.
QString typeExtension(const QString& pattern);
QString typeDescription(const QString& pattern);  // of its extension
QString typeRow(const QString& pattern);          // pattern TAB description

// The rows of a saved list, or of the first-use types when it was never saved.
QStringList readTypeRows(const QString& section, const QStringList& firstUse);
// Stores the patterns of the rows, in their order.
void writeTypeRows(const QString& section, const QStringList& rows);

// A row equal to the given one without regard to case is there.
bool containsRowNoCase(const QStringList& rows, const QString& row);
// The sorted place of a row, rows compared without regard to case.
qsizetype sortedRowPosition(const QStringList& rows, const QString& row);

// A typed type as a pattern: "tmp" and ".tmp" give "*.tmp"; "*.tmp", whole names such as
// "readme.txt" and other wildcards stay as typed. Empty for nothing, "*.*", ".*" or "*".
QString normaliseTypePattern(const QString& typed);

}  // namespace vastel
