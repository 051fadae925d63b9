#include "stats/StatTypeLists.h"

#include "protect/FileTypeRows.h"

namespace vastel {

const QString kIncludeSection = QStringLiteral("Include");
const QString kExcludeSection = QStringLiteral("Exclude");

QStringList ReadStatFilesFromDisk(const QString& section) {
    static const QStringList kFirstUse{QStringLiteral("*.doc"), QStringLiteral("*.exe"),
                                       QStringLiteral("*.dll")};
    return readTypeRows(section, kFirstUse);
}

void WriteStatFilesToDisk(const QStringList& lines, const QString& section) {
    writeTypeRows(section, lines);
}

}  // namespace vastel
