#include "finders/BrowseListing.h"

#include "core/Utility.h"
#include "platform/DirEntry.h"
#include "platform/NativePath.h"
#include "platform/Wildcard.h"

#include <QHash>
#include <cerrno>

namespace vastel {

namespace {

// Type texts by extension, each found once per listing.
class TypeIndex {
  public:
    qint32 of(const QByteArray& name) {
        const qsizetype dot = name.lastIndexOf('.');
        const QByteArray extension = dot < 0 ? QByteArray() : name.mid(dot);
        const auto it = index_.constFind(extension);
        if (it != index_.constEnd()) return it.value();
        texts_.push_back(fileTypeText(QString::fromUtf8(extension)));
        const qint32 index = qint32(texts_.size() - 1);
        index_.insert(extension, index);
        return index;
    }
    std::vector<QString> take() { return std::move(texts_); }

  private:
    QHash<QByteArray, qint32> index_;
    std::vector<QString> texts_;
};

}  // namespace

BrowseListing listBrowseFolder(const QByteArray& folder, const QString& mask) {
    BrowseListing listing;
    TypeIndex types;
    DirEntry self;
    if (!statPath(folder, self))
        listing.error = errno ? errno : ENOENT;
    else if (self.isSymlink())
        listing.error = ELOOP;
    else if (!self.isDirectory())
        listing.error = ENOTDIR;
    if (!listing.error) {
        const WildcardPattern pattern(mask.toUtf8());
        bool complete = true;
        errno = 0;
        std::vector<DirEntry> entries = listDirectory(folder, &complete);
        if (!complete) listing.error = errno ? errno : EIO;
        listing.records.reserve(entries.size());
        for (DirEntry& e : entries) {
            if (e.isDirectory() || e.isSymlink()) continue;
            if (e.attributes & (faHidden | faSysFile)) continue;
            if (!pattern.matchesAll() && !pattern.matches(e.name)) continue;
            ResultRecord r;
            QByteArray path = joinPath(folder, e.name);
            const qsizetype folderLength = path.size() - e.name.size();
            r.setPath(std::move(path), folderLength);
            r.size = e.size;
            r.modified = e.lastWrite;
            r.accessed = e.lastAccess;
            r.type = types.of(e.name);
            listing.totalSize += e.size;
            listing.records.push_back(std::move(r));
        }
    }
    listing.columns = std::make_shared<BrowseColumns>(types.take());
    return listing;
}

QByteArray folderOfDisplayText(const QString& text) {
    const QByteArray direct = nativePath(text);
    DirEntry entry;
    if (direct.isEmpty() || statPath(direct, entry)) return direct;
    // Walk down from the root, taking each component's bytes from its parent's listing.
    QByteArray found = text.startsWith(QLatin1Char('/')) ? QByteArray("/") : QByteArray();
    for (const QString& part : text.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        QByteArray next = joinPath(found, nativePath(part));
        if (!statPath(next, entry)) {
            bool matched = false;
            for (const DirEntry& e : listDirectory(found.isEmpty() ? QByteArray(".") : found)) {
                if (e.isDirectory() && displayPath(e.name) == part) {
                    next = joinPath(found, e.name);
                    matched = true;
                    break;
                }
            }
            if (!matched) return direct;
        }
        found = next;
    }
    return found;
}

}  // namespace vastel
