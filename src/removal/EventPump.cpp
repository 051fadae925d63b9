#include "removal/EventPump.h"

#include <QCoreApplication>

namespace vastel {

void EventPump::operator()() {
    if (clock_.isValid() && clock_.elapsed() < sliceMs_) return;
    now();
}

void EventPump::now() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    clock_.start();
}

}  // namespace vastel
