#pragma once

#include <QByteArrayList>
#include <cstdio>

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

}  // namespace vastel
