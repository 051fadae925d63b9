#include "finders/ui/FolderIcons.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

namespace vastel {

QIcon FolderIcons::icon(IconType type) const {
    QStyle* style = QApplication::style();
    auto made = [style](QIcon& icon, QStyle::StandardPixmap which) -> const QIcon& {
        if (icon.isNull() && style) icon = style->standardIcon(which);
        return icon;
    };
    switch (type) {
        case Folder:
            return made(folder_, QStyle::SP_DirIcon);
        case Drive:
            return made(drive_, QStyle::SP_DriveHDIcon);
        default:
            return made(file_, QStyle::SP_FileIcon);
    }
}

QIcon FolderIcons::icon(const QFileInfo& info) const { return icon(info.isDir() ? Folder : File); }

QString FolderIcons::type(const QFileInfo& info) const {
    return info.isDir() ? QStringLiteral("Folder") : QStringLiteral("File");
}

}  // namespace vastel
