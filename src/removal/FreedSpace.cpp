#include "removal/FreedSpace.h"

#include "platform/DirEntry.h"

#include <QSet>

#include <unordered_map>

namespace vastel {

namespace {

struct Inode {
    dev_t device;
    ino_t inode;
    bool operator==(const Inode& o) const { return device == o.device && inode == o.inode; }
};
struct InodeHash {
    size_t operator()(const Inode& k) const {
        return std::hash<quint64>()(quint64(k.inode) * 0x9E3779B97F4A7C15ULL ^ quint64(k.device));
    }
};
struct Seen {
    qint64 size = 0;
    quint32 links = 1;
    quint32 named = 0;  // names of this file among the paths
};

}  // namespace

FreedSpace freedByRemoving(const QList<QByteArray>& paths) {
    FreedSpace result;
    std::unordered_map<Inode, Seen, InodeHash> files;
    files.reserve(size_t(paths.size()));
    // A name listed twice is still one name: it cannot stand for a second link.
    QSet<QByteArray> names;
    names.reserve(paths.size());
    DirEntry entry;
    for (const QByteArray& path : paths) {
        if (names.contains(path)) continue;
        names.insert(path);
        if (!statPath(path, entry)) {
            ++result.unreadable;
            continue;
        }
        if (!entry.isRegular()) continue;
        Seen& seen = files[Inode{entry.device, entry.inode}];
        seen.size = entry.size;
        seen.links = entry.links;
        ++seen.named;
    }
    for (const auto& [key, seen] : files) {
        ++result.files;
        if (seen.named >= seen.links)
            result.bytes += seen.size;
        else
            ++result.keptFiles;
    }
    return result;
}

}  // namespace vastel
