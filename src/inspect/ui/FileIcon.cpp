#include "inspect/ui/FileIcon.h"

#include "platform/DirEntry.h"
#include "widgets/FileIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <initializer_list>

namespace vastel {

namespace {

QPainterPath closedPath(std::initializer_list<QPointF> corners) {
    QPainterPath path;
    path.moveTo(*corners.begin());
    for (auto it = corners.begin() + 1; it != corners.end(); ++it) path.lineTo(*it);
    path.closeSubpath();
    return path;
}

// A 32 by 32 icon drawn smoothly with a one pixel outline.
QIcon drawIcon(const QColor& outline, const std::function<void(QPainter&)>& draw) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    {
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(outline, 1));
        draw(p);
    }
    return QIcon(pixmap);
}

QIcon drawDirectory() {
    return drawIcon(QColor(0x8a, 0x6a, 0x10), [](QPainter& p) {
        p.setBrush(QColor(0xe0, 0xb0, 0x30));
        p.drawPath(closedPath(
            {{2.5, 8.5}, {12.5, 8.5}, {15.5, 5.5}, {29.5, 5.5}, {29.5, 26.5}, {2.5, 26.5}}));
        p.setBrush(QColor(0xf6, 0xd3, 0x5c));
        p.drawRect(QRectF(2.5, 11.5, 27, 15));
    });
}

QIcon drawBlankPage() {
    return drawIcon(QColor(0x70, 0x70, 0x70), [](QPainter& p) {
        p.setBrush(Qt::white);
        p.drawPath(closedPath({{6.5, 2.5}, {20.5, 2.5}, {26.5, 8.5}, {26.5, 29.5}, {6.5, 29.5}}));
        p.setBrush(QColor(0xd8, 0xd8, 0xd8));
        p.drawPath(closedPath({{20.5, 2.5}, {20.5, 8.5}, {26.5, 8.5}}));
    });
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
