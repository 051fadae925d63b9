#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace vastel {

// The busy cursor for as long as it lives.
class BusyCursor {
  public:
    BusyCursor() {
        if (qGuiApp) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~BusyCursor() {
        if (qGuiApp) QGuiApplication::restoreOverrideCursor();
    }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace vastel
