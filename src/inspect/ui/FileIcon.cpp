#include "inspect/ui/FileIcon.h"

#include "platform/DirEntry.h"
#include "widgets/FileIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vastel {

namespace {

QPixmap canvas() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

QIcon drawDirectory() {
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x8a, 0x6a, 0x10), 1));
    QPainterPath back;
    back.moveTo(2.5, 8.5);
    back.lineTo(12.5, 8.5);
    back.lineTo(15.5, 5.5);
    back.lineTo(29.5, 5.5);
    back.lineTo(29.5, 26.5);
    back.lineTo(2.5, 26.5);
    back.closeSubpath();
    p.setBrush(QColor(0xe0, 0xb0, 0x30));
    p.drawPath(back);
    p.setBrush(QColor(0xf6, 0xd3, 0x5c));
    p.drawRect(QRectF(2.5, 11.5, 27, 15));
    return QIcon(pixmap);
}

QIcon drawBlankPage() {
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x70, 0x70, 0x70), 1));
    QPainterPath page;
    page.moveTo(6.5, 2.5);
    page.lineTo(20.5, 2.5);
    page.lineTo(26.5, 8.5);
    page.lineTo(26.5, 29.5);
    page.lineTo(6.5, 29.5);
    page.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.setBrush(QColor(0xd8, 0xd8, 0xd8));
    QPainterPath corner;
    corner.moveTo(20.5, 2.5);
    corner.lineTo(20.5, 8.5);
    corner.lineTo(26.5, 8.5);
    corner.closeSubpath();
    p.drawPath(corner);
    return QIcon(pixmap);
}

}  // namespace

QIcon directoryIcon() {
    static const QIcon icon = drawDirectory();
    return icon;
}

QIcon noIcon() {
    static const QIcon icon = drawBlankPage();
    return icon;
}

QIcon fileIcon(const QByteArray& path) {
    DirEntry entry;
    if (statPath(path, entry) && (entry.attributes & faDirectory)) return directoryIcon();
    const QIcon associated = associatedIcon(path);
    return associated.isNull() ? noIcon() : associated;
}

}  // namespace vastel
