#include "finders/CacheClearing.h"

#include "core/DateTexts.h"
#include "core/JobSink.h"
#include "core/StopToken.h"
#include "core/Utility.h"
#include "platform/DirEntry.h"

#include <sys/stat.h>
#include <unistd.h>
#include <QFile>

namespace vastel {

namespace {

bool entryExists(const QByteArray& path) {
    struct stat st;
    return ::lstat(path.constData(), &st) == 0;
}

// The first line of a small file, without its line end.
QByteArray firstLine(const QByteArray& path) {
    QFile f(QFile::decodeName(path));
    if (!f.open(QIODevice::ReadOnly)) return {};
    QByteArray line = f.readLine(256);
    while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
    return line;
}

bool browserRuns(const QByteArrayList& names, const QByteArray& procRoot) {
    if (names.isEmpty()) return false;
    const uid_t me = ::getuid();
    for (const DirEntry& e : listDirectory(procRoot)) {
        if (!e.isDirectory() || e.name.isEmpty() || e.name[0] < '0' || e.name[0] > '9') continue;
        const QByteArray dir = procRoot + '/' + e.name;
        struct stat st;
        // Another user's browser keeps its own caches, not ours.
        if (::stat(dir.constData(), &st) != 0 || st.st_uid != me) continue;
        if (names.contains(firstLine(dir + "/comm"))) return true;
    }
    return false;
}

}  // namespace

bool profileInUse(const CacheOwner& owner, const QByteArray& procRoot) {
    for (const QByteArray& lock : owner.lockFiles)
        if (entryExists(lock)) return true;
    return browserRuns(owner.processes, procRoot);
}

CacheClearResult findCacheFiles(const CacheClearOptions& options, StopToken& stop, JobSink& sink) {
    CacheClearResult result;
    const QDateTime now = options.now.isValid() ? options.now : QDateTime::currentDateTime();
    for (const QByteArray& folder : options.folders) {
        if (stop) break;
        if (folder.isEmpty()) continue;
        CacheOwner owner;
        if (ownerOfCacheFolder(folder, options.homes, owner) &&
            profileInUse(owner, options.procRoot)) {
            // Files pulled from under a running browser break its cache index.
            if (!result.busyBrowsers.contains(owner.browser)) result.busyBrowsers << owner.browser;
            continue;
        }
        sink.item(result.files.size(), folder);
        for (const DirEntry& e : listDirectory(folder)) {
            sink.tick();
            // Links are never followed: their targets lie outside the cache.
            if (!e.isRegular() || e.isSymlink()) continue;
            if (ageInDays(e.lastAccess, now) < options.nDays || e.lastAccess == 0) continue;
            result.total += e.size;
            result.files << joinPath(folder, e.name);
        }
    }
    return result;
}

}  // namespace vastel
