#include "finders/CacheSources.h"

#include "platform/DirEntry.h"
#include "platform/Paths.h"

#include <QFile>
#include <algorithm>

namespace vastel {

namespace {

// One browser and where its three kinds of installation keep their files.
struct Browser {
    const char* name;
    bool firefox;         // profiles of their own in each cache root; else the Chromium layout
    const char* sub;      // below the cache and configuration homes
    const char* flatpak;  // application id, or nullptr
    const char* snap;     // snap name, or nullptr
    std::initializer_list<const char*> processes;
};

const Browser kBrowsers[] = {
    {"Firefox",
     true,
     "mozilla/firefox",
     "org.mozilla.firefox",
     "firefox",
     {"firefox", "firefox-bin", "firefox-esr"}},
    {"Chromium",
     false,
     "chromium",
     "org.chromium.Chromium",
     "chromium",
     {"chromium", "chromium-browse"}},
    {"Google Chrome", false, "google-chrome", "com.google.Chrome", nullptr, {"chrome"}},
    {"Brave", false, "BraveSoftware/Brave-Browser", "com.brave.Browser", "brave", {"brave"}},
    {"Vivaldi", false, "vivaldi", "com.vivaldi.Vivaldi", "vivaldi", {"vivaldi-bin", "vivaldi"}},
    {"Microsoft Edge", false, "microsoft-edge", "com.microsoft.Edge", nullptr, {"msedge"}},
    {"Opera", false, "opera", "com.opera.Opera", "opera", {"opera"}},
};

// Where one installation keeps its profiles' caches, and the folders whose lock files say that
// it runs: the profiles' folders (Firefox) or the user-data folder (Chromium family).
struct Install {
    QByteArray cacheRoot;
    QByteArrayList configRoots;
};

QByteArray trimmed(QByteArray path) {
    while (path.size() > 1 && path.endsWith('/')) path.chop(1);
    return path;
}

std::vector<Install> installsOf(const Browser& b, const CacheHomes& h) {
    const QByteArray sub = b.sub;
    std::vector<Install> out;
    if (b.firefox) {
        out.push_back({h.cacheHome + '/' + sub, {h.home + "/.mozilla/firefox"}});
        const QByteArray app = h.home + "/.var/app/" + b.flatpak;
        out.push_back({app + "/cache/" + sub, {app + "/.mozilla/firefox"}});
        const QByteArray snap = h.home + "/snap/" + b.snap;
        out.push_back({snap + "/common/.cache/" + sub,
                       {snap + "/common/.mozilla/firefox", snap + "/current/.mozilla/firefox"}});
        return out;
    }
    out.push_back({h.cacheHome + '/' + sub, {h.configHome + '/' + sub}});
    if (b.flatpak) {
        const QByteArray app = h.home + "/.var/app/" + b.flatpak;
        out.push_back({app + "/cache/" + sub, {app + "/config/" + sub}});
    }
    if (b.snap) {
        const QByteArray snap = h.home + "/snap/" + b.snap;
        out.push_back({snap + "/common/.cache/" + sub,
                       {snap + "/common/" + sub, snap + "/current/.config/" + sub}});
    }
    return out;
}

bool isProfileName(const Browser& b, const QByteArray& name) {
    if (b.firefox) return true;
    if (name == "Default") return true;
    if (!name.startsWith("Profile ") || name.size() == 8) return false;
    return std::all_of(name.begin() + 8, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "Default" first, then "Profile N" by number; Firefox's profiles by name.
bool profileBefore(const QByteArray& a, const QByteArray& b) {
    if (a == b) return false;
    if (a == "Default" || b == "Default") return a == "Default";
    if (a.startsWith("Profile ") && b.startsWith("Profile ") && a.size() != b.size())
        return a.size() < b.size();  // digits only: the shorter number is the smaller
    return a < b;
}

// A real folder, not a link to one.
bool isFolder(const QByteArray& path) {
    DirEntry e;
    return statPath(path, e) && e.isDirectory() && !e.isSymlink();
}

CacheOwner ownerOf(const Browser& b, const Install& in, const QByteArray& profile) {
    CacheOwner owner;
    owner.browser = QString::fromLatin1(b.name);
    for (const QByteArray& root : in.configRoots)
        owner.lockFiles << (b.firefox ? root + '/' + profile + "/lock" : root + "/SingletonLock");
    for (const char* p : b.processes) owner.processes << QByteArray(p);
    return owner;
}

}  // namespace

CacheHomes CacheHomes::fromEnvironment() {
    CacheHomes h;
    h.home = trimmed(QFile::encodeName(homeFolder()));
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    h.cacheHome = cache.startsWith('/') ? trimmed(cache) : h.home + "/.cache";
    h.configHome = trimmed(QFile::encodeName(vastel::configHome()));
    return h;
}

std::vector<CacheFolder> findCacheFolders(const CacheHomes& homes) {
    std::vector<CacheFolder> found;
    for (const Browser& b : kBrowsers) {
        for (const Install& in : installsOf(b, homes)) {
            QByteArrayList profiles;
            for (const DirEntry& e : listDirectory(in.cacheRoot))
                if (e.isDirectory() && !e.isSymlink() && isProfileName(b, e.name))
                    profiles << e.name;
            std::sort(profiles.begin(), profiles.end(), profileBefore);
            for (const QByteArray& profile : profiles) {
                const QByteArray base = in.cacheRoot + '/' + profile;
                const QByteArray middle = base + (b.firefox ? "/cache2" : "/Cache");
                const QByteArray folder = middle + (b.firefox ? "/entries" : "/Cache_Data");
                if (isFolder(middle) && isFolder(folder))
                    found.push_back({folder, ownerOf(b, in, profile)});
            }
        }
    }
    return found;
}

bool ownerOfCacheFolder(const QByteArray& folder, const CacheHomes& homes, CacheOwner& owner) {
    const QByteArray path = trimmed(folder) + '/';
    for (const Browser& b : kBrowsers) {
        for (const Install& in : installsOf(b, homes)) {
            const QByteArray root = in.cacheRoot + '/';
            if (!path.startsWith(root)) continue;
            const QByteArray rest = path.mid(root.size());
            const QByteArray profile = rest.left(rest.indexOf('/'));
            if (profile.isEmpty()) continue;
            owner = ownerOf(b, in, profile);
            return true;
        }
    }
    return false;
}

}  // namespace vastel
