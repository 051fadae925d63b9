// vastel-scan strings and version: the file viewer's string extractor and the details
// window's version lines.
#include "app/RowPrinter.h"
#include "app/ScanCommand.h"
#include "inspect/ExtractStrings.h"
#include "inspect/VersionInfoLines.h"
#include "platform/NativeFile.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vastel {

namespace {

// The single FILE argument, or nullptr after printing the usage.
const QByteArray* fileArgument(const QByteArrayList& args, const char* command) {
    if (args.size() == 1 && !args.first().isEmpty()) return &args.first();
    std::fprintf(stderr, "Usage: vastel-scan %s FILE\n", command);
    return nullptr;
}

int writeFailed(const char* command) {
    std::fprintf(stderr, "vastel-scan %s: cannot write the output: %s\n", command,
                 std::strerror(errno));
    return 1;
}

int openFailed(const char* command, const QByteArray& path) {
    std::fprintf(stderr, "vastel-scan %s: Could not open file %s: %s\n", command, path.constData(),
                 std::strerror(errno));
    return 1;
}

int runStrings(const QByteArrayList& args) {
    const QByteArray* path = fileArgument(args, "strings");
    if (!path) return 2;
    QFile in;
    if (!openNativeForReading(in, *path)) return openFailed("strings", *path);
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) return writeFailed("strings");
    if (!writeStrings(in, out, 5, 100) || !out.flush()) return writeFailed("strings");
    return 0;
}

int runVersion(const QByteArrayList& args) {
    const QByteArray* path = fileArgument(args, "version");
    if (!path) return 2;
    QFile probe;
    if (!openNativeForReading(probe, *path)) return openFailed("version", *path);
    probe.close();
    QStringList lines;
    versionInfoLines(*path, lines, false);
    // A value may hold line breaks; escaped, every item stays on its own line.
    RowPrinter rows;
    for (const QString& line : lines) rows.cell(line).endRow();
    if (!rows.finish()) return writeFailed("version");
    return 0;
}

const ScanCommand stringsCommand(
    "strings", "strings FILE  the runs of 6 to 101 letters, digits and blanks the viewer peeks at",
    runStrings);
const ScanCommand versionCommand(
    "version", "version FILE  the version information of a program file, one item per line",
    runVersion);

}  // namespace

}  // namespace vastel
