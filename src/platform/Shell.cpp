#include "platform/Shell.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

namespace vastel {

namespace {

std::function<bool(const QUrl&)>& openUrlHandler() {
    static std::function<bool(const QUrl&)> handler;
    return handler;
}

std::function<bool(const QUrl&)>& desktopOpener() {
    static std::function<bool(const QUrl&)> opener;
    return opener;
}

bool handOff(const QUrl& url) {
    if (const auto& handler = openUrlHandler()) return handler(url);
    if (const auto& opener = desktopOpener()) return opener(url);
    return false;
}

QByteArray absolutePath(const QByteArray& path) {
    if (path.startsWith('/')) return path;
    QByteArray folder;
    if (char* cwd = ::get_current_dir_name()) {
        folder = cwd;
        ::free(cwd);
    }
    return folder.endsWith('/') ? folder + path : folder + '/' + path;
}

}  // namespace

QUrl fileUrl(const QByteArray& nativePath) {
    // Percent-encode the bytes themselves: names that are not UTF-8 must reach the opener
    // unchanged, which a detour through QString would not guarantee.
    const QByteArray encoded = absolutePath(nativePath).toPercentEncoding("/");
    return QUrl::fromEncoded(QByteArrayLiteral("file://") + encoded, QUrl::StrictMode);
}

bool openWithAssociatedProgram(const QByteArray& nativePath) {
    if (nativePath.isEmpty()) return false;
    // The opener runs detached and reports nothing back, so a missing file (or a link to
    // nothing) is caught here.
    struct stat st;
    if (::stat(absolutePath(nativePath).constData(), &st) != 0) return false;
    return handOff(fileUrl(nativePath));
}

bool openUrl(const QUrl& url) { return url.isValid() && handOff(url); }

void setDesktopOpener(std::function<bool(const QUrl&)> opener) {
    desktopOpener() = std::move(opener);
}

void setOpenUrlHandler(std::function<bool(const QUrl&)> handler) {
    openUrlHandler() = std::move(handler);
}

}  // namespace vastel
