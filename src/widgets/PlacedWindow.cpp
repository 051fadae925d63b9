#include "widgets/PlacedWindow.h"

#include "core/WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace vastel {

void centreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    const QSize size = window->frameGeometry().size();
    window->move(area.center() - QPoint(size.width() / 2, size.height() / 2));
}

void applySavedPlacement(QWidget* window, const QString& keyName, const QString& section,
                         const QString& valueName) {
    const std::optional<WindowPlacement> saved = readPlacement(keyName, section, valueName);
    if (!saved || !saved->applicable()) return;
    const QRect rect = saved->normalRect();
    // A record from a screen that is gone would put the window out of reach; keep it centred.
    bool visible = false;
    for (QScreen* s : QGuiApplication::screens())
        visible = visible || s->availableGeometry().intersects(rect);
    if (!visible) return;
    window->setGeometry(rect);
    if (saved->showCmd == 3) window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void savePlacement(const QWidget* window, const QString& keyName, const QString& section,
                   const QString& valueName) {
    WindowPlacement p;
    p.showCmd = window->isMaximized() ? 3 : window->isMinimized() ? 2 : 1;
    p.minX = p.minY = p.maxX = p.maxY = -1;
    QRect r = window->normalGeometry();
    if (!r.isValid()) r = window->geometry();
    p.left = r.left();
    p.top = r.top();
    p.right = r.left() + r.width();
    p.bottom = r.top() + r.height();
    writePlacement(keyName, section, valueName, p);
}

}  // namespace vastel
