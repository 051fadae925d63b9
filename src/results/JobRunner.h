#pragma once

#include "core/DialogJobSink.h"
#include "core/StopToken.h"

#include <functional>

namespace vastel {

// Drives a job for a window. On the user-interface thread the job's ticks let pending events
// run once per time slice (kJobSliceMs), so the window repaints and its Abort acts within
// 100 ms; run() puts a job on a helper thread instead while the window's event loop runs.
// The window's own abort flag, which its Abort sets while events run, reaches the job's stop
// token at once; a job that stops by itself (a declined question) raises the flag too.
// Problems and questions are shown through the dialog seam; a window overrides item() and
// progress() to show where the job is.
class JobRunner : public DialogJobSink {
  public:
    explicit JobRunner(bool* abortFlag = nullptr);

    StopToken& stopToken() { return stop_; }
    // The job was asked to stop or stopped by itself.
    bool stopped();

    void tick() override;
    void problem(const Problem& problem) override;
    bool ask(const Question& question) override;

    // Lets pending events run now, whatever the slice.
    void pumpNow();
    // A new loop starts: its first tick lets pending events run.
    void restartSlice() { nextPump_ = 0; }

    // Runs work on a helper thread and returns when it is done; the caller's event loop runs
    // meanwhile. An exception of the work is thrown again here.
    static void runAside(const std::function<void()>& work);

  private:
    void syncFlag();

    bool* abortFlag_;
    StopToken stop_;
    qint64 nextPump_ = 0;
};

}  // namespace vastel
