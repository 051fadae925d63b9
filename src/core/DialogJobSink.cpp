#include "core/DialogJobSink.h"

#include "core/JobTexts.h"
#include "core/MessageBoxes.h"
#include "platform/Dialogs.h"

namespace vastel {

void DialogJobSink::problem(const Problem& problem) { errorBox(problemText(problem)); }

bool DialogJobSink::ask(const Question& question) {
    return dialogs().question(questionText(question), Buttons::YesNoCancel, BoxIcon::Question,
                              Beep::None) == Answer::Yes;
}

}  // namespace vastel
