#pragma once

#include <QByteArray>
#include <QByteArrayList>
#include <QSet>
#include <functional>
#include <optional>

namespace vastel {

// Where the two branches of the software registry are read from; tests point them at fixtures.
// Machine branch: "\SOFTWARE" holds "packages" (a key per *.list file of the package database,
// whose values are its lines) and "etc" (the folder mirrored: a folder is a key, a text file a
// key whose values are its name=value lines). User branch: "\SOFTWARE" is the user's
// configuration folder, mirrored the same way.
struct RegistryBranches {
    QByteArray packageLists = "/var/lib/dpkg/info";
    QByteArray machineEtc = "/etc";
    QByteArray userConfig;  // empty: $XDG_CONFIG_HOME
};

// Receives what the walk finds. The list decides which folders it holds already.
class RegistryFolderSink {
  public:
    virtual ~RegistryFolderSink() = default;
    virtual bool listed(const QByteArray& folder) = 0;  // an equal entry, ignoring case
    virtual void add(const QByteArray& folder) = 0;
    virtual void tick() {}  // called often, so that a window can repaint now and then
};

// Walks both branches of the software registry for values that name folders, keys deeper
// than level 25 left out. Unreadable keys, binary files and files over 1 MiB are skipped;
// symbolic links are not followed.
class RegistryFolderScan {
  public:
    static constexpr int kMaxDepth = 25;
    static constexpr qint64 kMaxKeyFileSize = 1024 * 1024;

    explicit RegistryFolderScan(RegistryBranches branches = {});
    // The floppy test: folders on removable media are not added. The default asks the
    // mounted volumes once, when the walk starts.
    std::function<bool(const QByteArray& folder)> isRemovable;
    // Existence of a folder; the default asks the file system (following links).
    std::function<bool(const QByteArray& folder)> folderExists;

    void run(RegistryFolderSink& sink);

    // The folder a value names: the value up to and including its last "/" when it begins
    // with "/", is longer than one character and holds no ":"; nullopt otherwise.
    static std::optional<QByteArray> folderReference(const QByteArray& value);
    // The values of a key file's text: of each name=value line the value, without the blanks
    // and one pair of quotation marks around it; comment lines ("#", ";") hold none.
    static QByteArrayList nameValueValues(const QByteArray& text);

    // Counts of the last run.
    int keysVisited = 0;
    int valuesRead = 0;
    int filesSkipped = 0;  // binary, too large or unreadable

  private:
    struct Key;
    void findpaths(const Key& key);
    bool subKeys(const Key& key, std::vector<Key>* out);
    void readValues(const Key& key);
    void consider(const QByteArray& value);

    RegistryBranches branches_;
    RegistryFolderSink* sink_ = nullptr;
    int depth_ = 0;
    QSet<QByteArray> refused_;  // folders that failed the existence or floppy test
};

}  // namespace vastel
