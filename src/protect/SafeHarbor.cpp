#include "protect/SafeHarbor.h"

#include "core/CountedList.h"
#include "core/SettingsStore.h"
#include "platform/SystemFolders.h"
#include "protect/FolderEntry.h"
#include "protect/FolderListFile.h"
#include "protect/RealFolderCache.h"

#include <QDir>
#include <QFile>
#include <algorithm>

namespace vastel {

namespace {

// The folder part of a path as given: up to its last "/" for a file, the path with a trailing
// "/" for a folder.
QByteArray rawFolder(const QByteArray& path, bool isFile) {
    if (isFile) return path.left(path.lastIndexOf('/') + 1);
    return path.endsWith('/') ? path : path + '/';
}

bool containsNoCase(const QByteArrayList& list, const QByteArray& entry) {
    return std::any_of(list.begin(), list.end(),
                       [&](const QByteArray& e) { return equalNoCase(e, entry); });
}

QByteArray withSlash(QByteArray folder) {
    if (!folder.endsWith('/')) folder += '/';
    return folder;
}

}  // namespace

QString SafeHarbor::safeHarborReason(int reason) {
    switch (reason) {
        case SystemFolder:
            return QStringLiteral("in the Windows/System folder");
        case SearchPath:
            return QStringLiteral("in the search path");
        case Registry:
            return QStringLiteral("referenced in the registry");
        case FileType:
            return QStringLiteral("included in the protected file extensions");
        case OtherOwner:
            return QStringLiteral("owned by another user");
        default:
            return QString();
    }
}

QByteArrayList SafeHarbor::normalizeExceptionList(const QByteArrayList& entries) {
    QByteArrayList out;
    out.reserve(entries.size());
    RealFolderCache realFolders;
    for (const QByteArray& raw : entries) {
        const QByteArray entry = normalisedEntry(raw);
        out.append(asciiUpper(shortFolderName(entry)));
        // A folder reached through a link (/lib is /usr/lib here) is protected under its real
        // path too, where walks that never follow links meet it.
        const QByteArray stem = entryStem(entry);
        if (!entry.startsWith('/') || !stem.endsWith('/')) continue;
        const QByteArray real = realFolders.realFolder(stem);
        if (!real.isEmpty() && real != stem)
            out.append(asciiUpper(real + (isTreeEntry(entry) ? kTreeMarker : "")));
    }
    return out;
}

void SafeHarbor::normalizeExceptionList() {
    lb1.assign(normalizeExceptionList(lb1.entries()));
    lbSearchPath.assign(normalizeExceptionList(lbSearchPath.entries()));
    lbWindows.assign(normalizeExceptionList(lbWindows.entries()));
}

void SafeHarbor::GetSearchPath() {
    realFolders_.clear();
    lb1.clear();
    lbSearchPath.clear();
    lbWindows.clear();
    safeHarborMissing = false;

    QByteArrayList all, path, windows;
    const QString file =
        sources.folderListFile.isEmpty() ? folderListFilePath() : sources.folderListFile;
    if (!readFolderListFile(file, &all)) safeHarborMissing = true;

    const QByteArrayList pathFolders =
        sources.searchPath ? *sources.searchPath : searchPathFolders();
    for (const QByteArray& element : pathFolders) {
        if (element.isEmpty()) continue;
        const QByteArray folder = withSlash(element);
        if (!containsNoCase(all, folder)) all.append(folder);
        if (!containsNoCase(path, folder)) path.append(folder);
    }
    const QByteArray systemFolders[] = {
        sources.systemFolder ? *sources.systemFolder : vastel::systemFolder(),
        sources.windowsFolder ? *sources.windowsFolder : vastel::windowsFolder(),
    };
    for (const QByteArray& folder : systemFolders) {
        if (folder.isEmpty()) continue;  // the platform did not answer
        all.append(withSlash(folder));
        windows.append(withSlash(folder));
    }
    plainSystem_ = normalizeExceptionList(windows);

    // The operating system's trees are tested as system folders only, not merged into lb1:
    // they would swallow the registry's entries below them, and the user's own folders inside
    // them must still meet the other lists.
    QByteArrayList trees;
    if (sources.systemTrees) {
        trees = *sources.systemTrees;
    } else {
        const SettingsStore store;
        trees = readCountedBytes(store, QStringLiteral("SystemTrees"), systemTopFolders());
    }
    for (const QByteArray& tree : trees)
        if (!tree.isEmpty()) windows.append(withSlash(tree) + kTreeMarker);

    QByteArrayList own;
    if (sources.ownFolders) {
        own = *sources.ownFolders;
    } else {
        own = {QFile::encodeName(QDir::homePath()), QFile::encodeName(QDir::tempPath())};
    }
    ownFolders_.clear();
    for (const QByteArray& folder : own) {
        const QByteArray entry = normalisedFolder(withSlash(folder));
        // The root as "home" would leave every tree open.
        if (!entry.startsWith('/') || entry == "/") continue;
        ownFolders_.append(asciiUpper(entry));
        const QByteArray real = realFolders_.realFolder(entry);
        if (!real.isEmpty() && real != entry && real != "/") ownFolders_.append(asciiUpper(real));
    }
    realFolders_.clear();
    userId_ = sources.userId ? *sources.userId : effectiveUserId();

    QByteArrayList merged = normalizeExceptionList(all);
    mergeSubfolderEntries(merged);
    lb1.assign(merged);
    lbSearchPath.assign(normalizeExceptionList(path));
    lbWindows.assign(normalizeExceptionList(windows));
    lb2 = lb1.entries();
}

bool SafeHarbor::isOwnFolder(const QByteArray& folder) const {
    return std::any_of(ownFolders_.begin(), ownFolders_.end(),
                       [&](const QByteArray& own) { return folder.startsWith(own); });
}

int SafeHarbor::ownerReason(const QByteArray& path, std::optional<unsigned> owner) const {
    unsigned uid = 0;
    if (owner) {
        uid = *owner;
    } else if (!pathOwner(path, &uid)) {
        return NotProtected;  // gone or unreadable: nothing to tell
    }
    return uid == userId_ ? NotProtected : OtherOwner;
}

void SafeHarbor::ReadSafeHarborExtensions() {
    const SettingsStore store;
    lbExt.clear();
    for (const QString& type : readCountedList(store, QStringLiteral("NoDelExt"), {}))
        lbExt.append(type.toLower());
    std::sort(lbExt.begin(), lbExt.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
}

QByteArray SafeHarbor::testedFolder(const QByteArray& path, bool isFile) {
    return asciiUpper(shortFolderName(normalisedFolder(rawFolder(path, isFile))));
}

bool SafeHarbor::hasProtectedType(const QByteArray& path) const {
    if (lbExt.isEmpty()) return false;
    const QString name = QString::fromUtf8(path.mid(path.lastIndexOf('/') + 1));
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString pattern = QLatin1Char('*') + (dot < 0 ? QString() : name.mid(dot).toLower());
    for (const QString& type : lbExt)
        if (type == pattern || type.compare(name, Qt::CaseInsensitive) == 0) return true;
    return false;
}

int SafeHarbor::reasonOfFolder(const QByteArray& folder) const {
    // The user's own folders inside the system trees stay open to the other lists.
    if (lbWindows.find(folder) >= 0 && (!isOwnFolder(folder) || plainSystem_.contains(folder)))
        return SystemFolder;
    if (lbSearchPath.find(folder) >= 0) return SearchPath;
    if (lb1.find(folder) >= 0) return Registry;
    return NotProtected;
}

int SafeHarbor::unprotectedFolderReason(const QByteArray& path, bool isFile,
                                        const QByteArray& folder, const QByteArray& real) const {
    int reason = NotProtected;
    if (!real.isEmpty()) {
        const QByteArray realUpper = asciiUpper(real);
        if (realUpper != folder) reason = reasonOfFolder(realUpper);
    }
    if (reason == NotProtected && isFile && hasProtectedType(path)) reason = FileType;
    return reason;
}

int SafeHarbor::reasonOf(const QByteArray& path, bool isFile, std::optional<unsigned> owner) const {
    const QByteArray folder = testedFolder(path, isFile);
    int reason = reasonOfFolder(folder);
    if (reason != NotProtected) return reason;
    thread_local RealFolderCache realFolders;
    reason = unprotectedFolderReason(path, isFile, folder,
                                     realFolders.realFolder(rawFolder(path, isFile)));
    return reason != NotProtected ? reason : ownerReason(path, owner);
}

quint64 SafeHarbor::listsGeneration() const {
    return std::max({lb1.generation(), lbSearchPath.generation(), lbWindows.generation()});
}

bool SafeHarbor::isInSafeHarbor(const QByteArray& path, bool isFile, int* reason,
                                std::optional<unsigned> owner) {
    const QByteArray raw = rawFolder(path, isFile);
    const QByteArray folder = asciiUpper(shortFolderName(normalisedFolder(raw)));
    // Tests of one folder after another skip the look-ups while no type can differ. Lists
    // reloaded since then make the memory stale.
    int result;
    if (folder == lastTestedFolder && lbExt.isEmpty() && cachedGeneration_ == listsGeneration()) {
        result = lastReason;
    } else {
        lastTestedFolder = folder;
        result = reasonOfFolder(folder);
        if (result == NotProtected)
            result = unprotectedFolderReason(path, isFile, folder, realFolders_.realFolder(raw));
        lastReason = result;
        cachedGeneration_ = listsGeneration();
    }
    // Owners differ from file to file: never remembered.
    if (result == NotProtected) result = ownerReason(path, owner);
    if (reason) *reason = result;
    return result != NotProtected;
}

}  // namespace vastel
