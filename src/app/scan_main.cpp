// vastel-scan: the headless companion of the desktop program.
#include "app/ScanCommand.h"
#include "platform/MemoryRelease.h"

#include <QCoreApplication>
#include <cstring>

int main(int argc, char** argv) {
    // The only regular expressions here are Qt's own, each built for one match (the file type
    // database's globs): compiling them to machine code costs far more than it saves.
    if (!qEnvironmentVariableIsSet("QT_ENABLE_REGEXP_JIT")) qputenv("QT_ENABLE_REGEXP_JIT", "0");
    vastel::returnLargeBlocksOnRelease();
    QCoreApplication app(argc, argv);
    using vastel::ScanCommand;
    if (argc < 2 || std::strcmp(argv[1], "help") == 0 || std::strcmp(argv[1], "--help") == 0 ||
        std::strcmp(argv[1], "-h") == 0) {
        ScanCommand::printUsage(argc < 2 ? stderr : stdout);
        return argc < 2 ? 2 : 0;
    }
    const ScanCommand* command = ScanCommand::find(argv[1]);
    if (!command) {
        std::fprintf(stderr, "vastel-scan: unknown command '%s'\n\n", argv[1]);
        ScanCommand::printUsage(stderr);
        return 2;
    }
    // Arguments stay bytes: paths may hold any byte but NUL.
    QByteArrayList args;
    for (int i = 2; i < argc; ++i) args << QByteArray(argv[i]);
    return command->run(args);
}
