#include "platform/SystemFolders.h"

#include <cstdlib>

namespace vastel {

QByteArrayList splitSearchPath(const QByteArray& pathValue) {
    QByteArrayList folders;
    for (const QByteArray& part : pathValue.split(':'))
        if (!part.isEmpty()) folders.append(part);
    return folders;
}

QByteArrayList searchPathFolders() {
    // getenv gives the whole value, however long.
    const char* value = std::getenv("PATH");
    return value ? splitSearchPath(QByteArray(value)) : QByteArrayList();
}

QByteArray systemFolder() { return QByteArrayLiteral("/usr/lib/"); }

QByteArray windowsFolder() { return QByteArrayLiteral("/etc/"); }

const QByteArrayList& systemTopFolders() {
    static const QByteArrayList folders = {
        "/bin",  "/boot", "/dev", "/etc",  "/lib", "/lib32", "/lib64", "/libx32", "/opt",
        "/proc", "/root", "/run", "/sbin", "/srv", "/sys",   "/usr",   "/var",
    };
    return folders;
}

}  // namespace vastel
