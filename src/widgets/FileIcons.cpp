#include "widgets/FileIcons.h"

#include "platform/NativeFile.h"
#include "platform/NativePath.h"

#include <QFileInfo>
#include <QMimeDatabase>

namespace vastel {

QIcon associatedIcon(const QByteArray& nativePath) {
    const QMimeDatabase db;
    const QString name = QFileInfo(displayPath(nativePath)).fileName();
    QFile file;
    const QMimeType type = openNativeForReading(file, nativePath)
                               ? db.mimeTypeForFileNameAndData(name, &file)
                               : db.mimeTypeForFile(name, QMimeDatabase::MatchExtension);
    for (const QString& iconName : {type.iconName(), type.genericIconName()}) {
        if (iconName.isEmpty() || !QIcon::hasThemeIcon(iconName)) continue;
        return QIcon::fromTheme(iconName);
    }
    return QIcon();
}

}  // namespace vastel
