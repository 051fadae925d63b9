#include "removal/ArchiveFolder.h"

#include "core/SettingsStore.h"
#include "core/Utility.h"
#include "platform/NativePath.h"
#include "platform/Paths.h"

#include <QLocale>

namespace vastel {

QByteArray archiveFolder;

void getDefaultZipPath() {
    const SettingsStore store;
    archiveFolder = store.readBytes(QStringLiteral("ZipFile"), QStringLiteral("Path"),
                                    nativePath(homeFolder()));
}

QByteArray archiveFileName(const QString& tag, QChar driveLetter, const QDateTime& start) {
    const QByteArray folder = archiveFolder.isEmpty() ? nativePath(homeFolder()) : archiveFolder;
    QString stamp = QLocale().toString(start, QStringLiteral("ddMMMyyHHmm"));
    // Some locales abbreviate months with a "/"; it must not become a folder.
    stamp.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QString name = QStringLiteral("Drive-") + driveLetter + QLatin1Char('-') + tag + stamp +
                         QStringLiteral(".zip");
    return joinPath(folder, nativePath(name));
}

QChar driveLetterOf(const QByteArray& path) {
    if (path.isEmpty() || path.startsWith('/')) return QLatin1Char('R');
    return QChar::fromLatin1(path[0]).toUpper();
}

QByteArray archiveMemberName(const QByteArray& path) {
    qsizetype start = 0;
    while (start < path.size() && path[start] == '/') ++start;
    return path.mid(start);
}

}  // namespace vastel
