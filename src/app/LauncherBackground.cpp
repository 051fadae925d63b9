#include "app/LauncherBackground.h"

#include <QLinearGradient>
#include <QPainter>

namespace vastel {

LauncherBackground::LauncherBackground(Kind kind, QWidget* parent) : QWidget(parent), kind_(kind) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setObjectName(kind == Kind::Tile ? QStringLiteral("EsTile1") : QStringLiteral("EsGradient1"));
}

QPixmap LauncherBackground::tilePicture() {
    // A quiet woven pattern, drawn once instead of shipped as an image.
    static const QPixmap tile = [] {
        QPixmap pm(48, 48);
        pm.fill(QColor(226, 233, 242));
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(212, 222, 235), 6));
        p.drawLine(-8, 32, 32, -8);
        p.drawLine(16, 56, 56, 16);
        p.setPen(QPen(QColor(236, 241, 247), 2));
        p.drawLine(-8, 8, 8, -8);
        p.drawLine(8, 56, 56, 8);
        return pm;
    }();
    return tile;
}

void LauncherBackground::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (kind_ == Kind::Tile) {
        p.drawTiledPixmap(rect(), tilePicture());
    } else {
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0, 0, 255));
        g.setColorAt(1, QColor(0, 0, 0));
        p.fillRect(rect(), g);
    }
}

}  // namespace vastel
