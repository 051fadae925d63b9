#include "results/JobRunner.h"

#include "platform/CoarseClock.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <exception>
#include <thread>

namespace vastel {

JobRunner::JobRunner(bool* abortFlag) : abortFlag_(abortFlag) { syncFlag(); }

bool JobRunner::stopped() {
    syncFlag();
    return stop_.requested();
}

void JobRunner::syncFlag() {
    if (abortFlag_) stop_.syncWith(*abortFlag_);
}

void JobRunner::tick() {
    // The first tick pumps at once, so that a window shown just before the job is painted.
    if (coarseMilliseconds() >= nextPump_) pumpNow();
}

void JobRunner::pumpNow() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents();
    nextPump_ = coarseMilliseconds() + kJobSliceMs;
    syncFlag();
}

// A box runs events of its own, among them a click on Abort.
void JobRunner::problem(const Problem& problem) {
    DialogJobSink::problem(problem);
    syncFlag();
}

bool JobRunner::ask(const Question& question) {
    const bool yes = DialogJobSink::ask(question);
    syncFlag();
    return yes;
}

void JobRunner::runAside(const std::function<void()>& work) {
    QEventLoop loop;
    std::exception_ptr failure;
    std::thread helper([&] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // The queued quit cannot be lost: it waits in the queue until exec() takes it.
    loop.exec();
    helper.join();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace vastel
