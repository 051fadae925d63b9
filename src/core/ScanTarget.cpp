#include "core/ScanTarget.h"

#include "platform/Volumes.h"

#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <string>

namespace vastel {

bool targetReady(const ScanTarget& target) {
    return target.isDrive() ? driveReady(target.root) : true;
}

void enterTarget(const ScanTarget& target) {
    // The root is entered by its exact bytes; an empty one is a failure, not the current folder.
    if (target.root.isEmpty() || ::chdir(target.root.constData()) != 0) {
        const int error = target.root.isEmpty() ? ENOENT : errno;
        throw TargetError("Cannot enter " + target.root.toStdString() + ": " +
                          std::strerror(error));
    }
}

}  // namespace vastel
