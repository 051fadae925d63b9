#pragma once

#include <QString>
#include <QStringList>

namespace vastel {

// The statistics' two type lists, counted lists of patterns in the sections "Include" and
// "Exclude", shown as "pattern<TAB>description" lines, sorted.
extern const QString kIncludeSection;
extern const QString kExcludeSection;

// The section's lines; a section never written gives "*.doc", "*.exe" and "*.dll".
QStringList ReadStatFilesFromDisk(const QString& section);
// Stores the lines' patterns (each line cut at its first tab).
void WriteStatFilesToDisk(const QStringList& lines, const QString& section);

}  // namespace vastel
