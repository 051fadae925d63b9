#pragma once

#include "core/ScanTarget.h"
#include "core/WalkProgress.h"

#include <QByteArrayList>
#include <cstdio>
#include <vector>

namespace vastel {

// A sub-command of vastel-scan. Each command file registers itself with a static
// ScanCommand object; main() dispatches on the first argument.
class ScanCommand {
  public:
    using Run = int (*)(const QByteArrayList& args);  // arguments after the command's name
    ScanCommand(const char* name, const char* usage, Run run);

    const char* name;
    const char* usage;  // one or more lines: "name [OPTIONS] ARGS  what it does"
    Run run;

    static const ScanCommand* find(const char* name);
    static void printUsage(std::FILE* out);
};

// The targets named on a command line; a mount point counts as a drive, so that a drive that
// does not answer is skipped like in the windows.
std::vector<ScanTarget> commandTargets(const QByteArrayList& paths);

// Names targets that cannot be opened on standard error ("Can't open drive " + path).
class CommandTargetErrors : public WalkProgress {
  public:
    void targetFailed(const ScanTarget& target) override;
};

}  // namespace vastel
