#pragma once

#include "core/Problem.h"
#include "core/Question.h"

#include <QString>

namespace vastel {

// The words the program shows for a job's problems and questions.
QString problemText(const Problem& problem);
QString questionText(const Question& question);

}  // namespace vastel
