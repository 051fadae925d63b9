#include "platform/SystemFolders.h"

#include <sys/stat.h>
#include <unistd.h>
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

unsigned effectiveUserId() { return unsigned(::geteuid()); }

bool pathOwner(const QByteArray& path, unsigned* uid) {
    struct stat st;
    if (::lstat(path.constData(), &st) != 0) return false;
    *uid = unsigned(st.st_uid);
    return true;
}

}  // namespace vastel
