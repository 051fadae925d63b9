#include "core/JobTexts.h"

#include "platform/NativePath.h"

namespace vastel {

QString problemText(const Problem& problem) {
    const QString path = displayPath(problem.path);
    switch (problem.kind) {
        case Problem::Kind::CannotOpen:
            return QStringLiteral("Could not open file ") + path;
        case Problem::Kind::CannotDelete:
            return QStringLiteral("Couldn't delete file - ") + path;
        case Problem::Kind::CannotZip:
            return QStringLiteral("Couldn't zip up file - ") + path;
        case Problem::Kind::CannotCreate:
            return QStringLiteral("Could not create file ") + path;
        case Problem::Kind::CannotWrite:
            return QStringLiteral("Could not write file ") + path;
        case Problem::Kind::CannotRecycle:
            return QStringLiteral(
                "An error occurred sending files to the recycle bin.  The bin may be full.");
    }
    return path;
}

QString questionText(const Question& question) {
    const char* what = " is read-only, ";
    if (question.kind == Question::Kind::DeleteHidden) what = " is hidden, ";
    if (question.kind == Question::Kind::DeleteSystem) what = " is a system file, ";
    return displayPath(question.path) + QLatin1String(what) +
           QStringLiteral("Delete this file and continue deleting the remaining files? ");
}

}  // namespace vastel
