#include "finders/ui/FolderIcons.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

namespace vastel {

QIcon FolderIcons::icon(IconType type) const {
    QStyle* style = QApplication::style();
    if (!style) return {};
    switch (type) {
        case Folder:
            return style->standardIcon(QStyle::SP_DirIcon);
        case Drive:
            return style->standardIcon(QStyle::SP_DriveHDIcon);
        default:
            return style->standardIcon(QStyle::SP_FileIcon);
    }
}

QIcon FolderIcons::icon(const QFileInfo& info) const { return icon(info.isDir() ? Folder : File); }

QString FolderIcons::type(const QFileInfo& info) const {
    return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
}

}  // namespace vastel
