#include "protect/RealFolderCache.h"

#include "platform/DirEntry.h"
#include "protect/FolderEntry.h"

#include <filesystem>
#include <system_error>

namespace vastel {

namespace {

QByteArray canonicalFolder(const QByteArray& path) {
    std::error_code error;
    const std::filesystem::path real =
        std::filesystem::canonical(std::filesystem::path(path.toStdString()), error);
    if (error || !std::filesystem::is_directory(real, error)) return {};
    QByteArray out = QByteArray::fromStdString(real.native());
    if (!out.endsWith('/')) out += '/';
    return out;
}

bool hasDotDot(const QByteArray& path) {
    return path.contains("/../") || path.endsWith("/..") || path.startsWith("../");
}

}  // namespace

QByteArray RealFolderCache::realFolder(const QByteArray& folder) {
    if (!folder.startsWith('/')) return {};
    if (hasDotDot(folder)) return canonicalFolder(folder);
    return resolve(normalisedFolder(folder));
}

QByteArray RealFolderCache::resolve(const QByteArray& folder) {
    if (folder == "/") return folder;
    if (const auto it = known_.constFind(folder); it != known_.constEnd()) return *it;
    const qsizetype cut = folder.lastIndexOf('/', folder.size() - 2);
    const QByteArray parent = resolve(folder.left(cut + 1));
    if (parent.isEmpty()) return {};
    const QByteArray candidate = parent + folder.mid(cut + 1, folder.size() - cut - 2);
    DirEntry entry;
    QByteArray real;
    if (statPath(candidate, entry)) {
        if (entry.isSymlink())
            real = canonicalFolder(candidate);
        else if (entry.isDirectory())
            real = candidate + '/';
    }
    // Folders that do not exist are not remembered: they may appear later.
    if (!real.isEmpty()) {
        if (known_.size() >= capacity_) known_.clear();
        known_.insert(folder, real);
    }
    return real;
}

}  // namespace vastel
