#pragma once

#include "core/SettingsStore.h"

#include <QByteArrayList>
#include <QStringList>

namespace vastel {

// A list kept in a section of its own: "Number" = N, then "File1".."FileN".
// Reading: an absent (or unreadable) "Number" gives the defaults; 0 gives an empty list;
// empty entries are skipped. Writing: "Number" first, then the entries; stale higher entries
// stay in the store and are never read.
QStringList readCountedList(const SettingsStore& store, const QString& section,
                            const QStringList& defaults);
void writeCountedList(SettingsStore& store, const QString& section, const QStringList& list);

// The same with exact bytes (file paths).
QByteArrayList readCountedBytes(const SettingsStore& store, const QString& section,
                                const QByteArrayList& defaults);
void writeCountedBytes(SettingsStore& store, const QString& section, const QByteArrayList& list);

// File-type lists show "pattern<TAB>description"; only the pattern is stored.
QString patternOfDisplayEntry(const QString& entry);

}  // namespace vastel
