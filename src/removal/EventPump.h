#pragma once

#include <QElapsedTimer>

namespace vastel {

// Lets pending window messages run during a long loop on the UI thread, at most every few
// milliseconds, so that the window repaints and its Cancel button answers without the loop
// spending its time in the event queue.
class EventPump {
  public:
    explicit EventPump(int sliceMs = 30) : sliceMs_(sliceMs) {}
    void operator()();  // runs them when the slice has passed (and on the first call)
    void now();         // runs them at once

  private:
    int sliceMs_;
    QElapsedTimer clock_;
};

}  // namespace vastel
