#pragma once

#include "core/JobSink.h"

namespace vastel {

// Shows a job's problems as error boxes and asks its questions (Yes, No, Cancel; only Yes goes
// ahead), all through the dialog seam, in the program's words.
class DialogJobSink : public JobSink {
  public:
    void problem(const Problem& problem) override;
    bool ask(const Question& question) override;
};

}  // namespace vastel
