#include "app/ScanCommand.h"

#include "platform/FolderReader.h"
#include "platform/NativePath.h"

#include <cstring>
#include <vector>

namespace vastel {

namespace {
std::vector<const ScanCommand*>& registry() {
    static std::vector<const ScanCommand*> commands;
    return commands;
}
}  // namespace

ScanCommand::ScanCommand(const char* name, const char* usage, Run run)
    : name(name), usage(usage), run(run) {
    registry().push_back(this);
}

const ScanCommand* ScanCommand::find(const char* wanted) {
    for (const ScanCommand* c : registry())
        if (std::strcmp(c->name, wanted) == 0) return c;
    return nullptr;
}

void ScanCommand::printUsage(std::FILE* out) {
    std::fputs(
        "Usage: vastel-scan COMMAND [OPTIONS] PATH...\n"
        "\n"
        "Runs the engines of Vastel 99 without windows and prints one line per row,\n"
        "fields separated by TAB (a backslash, TAB, CR and LF inside a field are written\n"
        "as \\\\, \\t, \\r and \\n). It only reads: it never deletes, moves or changes a file.\n"
        "\n"
        "Commands:\n"
        "  help                 show this text\n",
        out);
    for (const ScanCommand* c : registry()) std::fprintf(out, "  %s\n", c->usage);
}

std::vector<ScanTarget> commandTargets(const QByteArrayList& paths) {
    std::vector<ScanTarget> targets;
    for (const QByteArray& path : paths) {
        ScanTarget t;
        t.root = path;
        t.text = displayPath(path);
        t.kind = isMountRoot(path) ? ScanTarget::Kind::Drive : ScanTarget::Kind::Folder;
        targets.push_back(std::move(t));
    }
    return targets;
}

void CommandTargetErrors::targetFailed(const ScanTarget& target) {
    std::fflush(stdout);
    const QByteArray line = "Can't open drive " + target.root + '\n';
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
}

}  // namespace vastel
