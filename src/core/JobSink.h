#pragma once

#include "core/Problem.h"
#include "core/Question.h"

#include <QByteArray>

namespace vastel {

// Pending events run at most this often while a job runs on the user-interface thread: often
// enough for a painted window and an Abort that acts within 100 ms, rarely enough not to slow a
// loop of many short steps.
inline constexpr int kJobSliceMs = 25;

// What a long operation tells whoever runs it. Every call comes from the job's thread.
class JobSink {
  public:
    virtual ~JobSink() = default;
    // The item being worked on now (a path or a stage text) and its index or running count.
    virtual void item(qint64 index, const QByteArray& what) {}
    // Done out of total, for a bar (the member being zipped: percent of 100).
    virtual void progress(qint64 done, qint64 total) {}
    // Something could not be done; the job goes on unless its contract says otherwise.
    virtual void problem(const Problem& problem) {}
    // A decision: true goes ahead. Without anyone to ask, nothing risky is done.
    virtual bool ask(const Question& question) { return false; }
    // Called often from the job's loop, also where nothing else is reported; a runner on the
    // user-interface thread lets pending events run here once per time slice.
    virtual void tick() {}
};

}  // namespace vastel
