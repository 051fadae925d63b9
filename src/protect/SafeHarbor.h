#pragma once

#include "protect/FolderList.h"
#include "protect/RealFolderCache.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <QStringList>
#include <optional>

namespace vastel {

// The in-memory Safe Harbor: the folders and file types whose files are not removed without
// an explicit override, and the membership test over them. The application context owns the
// program's instance.
class SafeHarbor {
  public:
    // Reason codes of the membership test.
    enum Reason {
        NotProtected = 0,
        SystemFolder = 1,
        SearchPath = 2,
        Registry = 3,
        FileType = 4,
        OtherOwner = 5,
    };

    // Where the folder lists come from; tests point these at fixtures.
    struct Sources {
        QString folderListFile;                    // empty: folders.txt of the program
        std::optional<QByteArrayList> searchPath;  // nullopt: the PATH variable
        std::optional<QByteArray> systemFolder;    // nullopt: the platform's
        std::optional<QByteArray> windowsFolder;   // nullopt: the platform's
        // Folders protected with their whole trees as system folders; nullopt: the stored
        // list "SystemTrees", by default the operating system's top-level folders.
        std::optional<QByteArrayList> systemTrees;
        // Folders that those trees leave unprotected; nullopt: the home and temporary folders.
        std::optional<QByteArrayList> ownFolders;
        std::optional<unsigned> userId;  // nullopt: the effective uid
    };
    Sources sources;

    FolderList lb1;           // every Safe Harbor folder
    FolderList lbSearchPath;  // the folders of the search path
    FolderList lbWindows;     // the system folder, the Windows folder and the system trees
    QStringList lbExt;        // the protected file types, lower case, sorted
    QByteArrayList lb2;       // the entries of lb1, as loaded
    bool safeHarborMissing = true;
    QByteArray lastTestedFolder;
    int lastReason = 0;

    // Reloads lb1, lbSearchPath, lbWindows, lb2 and safeHarborMissing.
    void GetSearchPath();
    // Reloads lbExt from the protected types saved in the settings store.
    void ReadSafeHarborExtensions();
    // Brings the entries of the three folder lists into their upper-case lexical form again.
    void normalizeExceptionList();
    // Entries in the form the lists hold them: lexical form, upper case, and for an entry that
    // reaches its folder through a symbolic link also the folder's real path, so that neither
    // spelling escapes the test.
    static QByteArrayList normalizeExceptionList(const QByteArrayList& entries);

    // Whether the path lies in the Safe Harbor: with isFile its folder is tested, then its
    // type; otherwise the path is a folder. Last, a path that nothing else protects is
    // protected when another user owns it (owner: its uid when the caller has it, else it is
    // read). Remembers the last folder and its reason.
    bool isInSafeHarbor(const QByteArray& path, bool isFile, int* reason = nullptr,
                        std::optional<unsigned> owner = std::nullopt);
    // The same test without the memory of the last folder (safe to call from any thread as
    // long as the lists do not change meanwhile).
    int reasonOf(const QByteArray& path, bool isFile,
                 std::optional<unsigned> owner = std::nullopt) const;
    // The file's name or its "*" + extension is one of the protected types.
    bool hasProtectedType(const QByteArray& path) const;
    static QString safeHarborReason(int reason);

    // The folder that the test looks up for a path: its lexical form in upper case.
    static QByteArray testedFolder(const QByteArray& path, bool isFile);

  private:
    int reasonOfFolder(const QByteArray& folder) const;
    int ownerReason(const QByteArray& path, std::optional<unsigned> owner) const;
    bool isOwnFolder(const QByteArray& folder) const;
    QByteArrayList ownFolders_;   // upper case, lexical and real paths
    QByteArrayList plainSystem_;  // the plain entries of lbWindows
    unsigned userId_ = 0;
    // The reason of a path whose folder, as spelt, is in no list: its folder's real path
    // (when that differs), then its type.
    int unprotectedFolderReason(const QByteArray& path, bool isFile, const QByteArray& folder,
                                const QByteArray& realFolder) const;
    quint64 listsGeneration() const;
    quint64 cachedGeneration_ = 0;
    RealFolderCache realFolders_;
};

}  // namespace vastel
