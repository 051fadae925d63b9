#include "support/TestSandbox.h"

#include "support/TempTree.h"

#include <QByteArray>
#include <QDir>
#include <cstdio>
#include <cstdlib>

namespace vastel::test {

QString sandboxRoot() { return QString::fromLocal8Bit(qgetenv("VASTEL_TEST_SANDBOX")); }

void prepareSandbox() {
    const QString root = sandboxRoot();
    if (root.isEmpty() || !root.contains(QLatin1String("test-sandbox"))) {
        std::fprintf(stderr, "Run tests through ctest: VASTEL_TEST_SANDBOX is not set.\n");
        std::abort();
    }
    TempTree::removeTree(QFile::encodeName(root));
    for (const char* sub : {"home", "config", "data", "tmp", "cache", "runtime"})
        QDir().mkpath(root + QLatin1Char('/') + QLatin1String(sub));
    QFile::setPermissions(root + QLatin1String("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace vastel::test
