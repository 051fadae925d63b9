#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <vector>

namespace vastel {

// The homes in which browsers keep their caches: the user's home and the cache home
// ($XDG_CACHE_HOME, else ~/.cache) and configuration home ($XDG_CONFIG_HOME, else ~/.config)
// of browsers installed natively. Flatpak and Snap homes lie below `home`.
struct CacheHomes {
    QByteArray home;
    QByteArray cacheHome;
    QByteArray configHome;
    // From the environment of this process.
    static CacheHomes fromEnvironment();
};

// Who owns a cache folder: the browser, and the files whose presence says that its profile is
// in use (Firefox's "lock" link in the profile, the Chromium family's "SingletonLock").
struct CacheOwner {
    QString browser;           // "Firefox", "Chromium", ...
    QByteArrayList lockFiles;  // any of them present: in use
    QByteArrayList processes;  // names of the browser's processes (as /proc/PID/comm gives them)
};

// One cache folder a browser keeps, with its owner.
struct CacheFolder {
    QByteArray folder;
    CacheOwner owner;
};

// Every cache folder that exists: Firefox, Chromium, Google Chrome, Brave, Vivaldi, Microsoft
// Edge and Opera, each in its native, Flatpak and Snap home, in that order; the profiles of one
// home in order ("Default", then "Profile N" by number; Firefox's by name). A profile folder
// or cache folder that is a symbolic link is left out: its cache lies elsewhere.
std::vector<CacheFolder> findCacheFolders(const CacheHomes& homes);

// The owner of a folder that lies in one of the browsers' cache homes; false for any other
// folder (one the user added).
bool ownerOfCacheFolder(const QByteArray& folder, const CacheHomes& homes, CacheOwner& owner);

}  // namespace vastel
