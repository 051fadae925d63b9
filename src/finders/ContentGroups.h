#pragma once

#include "core/StopToken.h"
#include "finders/ContentHash.h"

#include <sys/types.h>
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

namespace vastel {

// A file as the walk found it.
struct ContentFile {
    QByteArray path;  // exact bytes
    qint64 size = 0;
    dev_t device = 0;
    ino_t inode = 0;
    // Or, with path left empty, the folder and the name it is joined from: a whole disk's
    // paths need not all be made at once. Their bytes must outlive the comparison.
    QByteArrayView folder;
    QByteArrayView name;

    QByteArray fullPath() const;
};

// The file's path as a C string, joined in buffer when it is given as folder and name.
const char* pathOf(const ContentFile& file, QByteArray& buffer);

// The stages of the content comparison, in the order they run.
enum class ContentStage { Sizes, Ends, Full, Confirm };
// "sizes", "first and last 4 KiB", "full contents", "confirming".
QString contentStageText(ContentStage stage);

struct ContentGroupOptions {
    // The stage and the bytes read so far, all stages together. Called on the calling thread
    // when a stage starts and then every few milliseconds while it reads.
    std::function<void(ContentStage stage, qint64 bytesRead)> progress;
    // Test seams: called before a stage starts (not before Sizes); the hash to use.
    std::function<void(ContentStage next)> beforeStage;
    std::function<std::unique_ptr<ContentHasher>()> makeHasher;
    // Threads reading the many small files of the ends stage; 0 chooses (two when the
    // machine has two cores and there is enough to read).
    int readers = 0;
    // Bytes of small files kept in memory to be compared without being read again.
    qint64 keepBudget = qint64(64) << 20;
};

// One file of a group: the index of its name in the files given and the other names of the
// same file (same device and inode), which are hard links of it, never duplicates of it.
struct ContentMember {
    qint32 file = 0;
    std::vector<qint32> links;
};

// Two or more distinct files whose bytes were found equal, in (device, inode) order.
struct ContentGroup {
    qint64 size = 0;
    std::vector<ContentMember> members;
};

struct ContentGroupResult {
    std::vector<ContentGroup> groups;  // ascending size
    qint64 bytesRead = 0;
    qint64 changed = 0;     // files left out: they changed (or were replaced) while being read
    qint64 unreadable = 0;  // files left out: they could not be opened or read
    bool stopped = false;   // the token stopped it; the groups are those confirmed before
};

// Groups the files by equal contents: by size (empty files never group), then by a hash of
// their first and last 4 KiB, then by a hash of their whole contents; every group is then
// confirmed byte by byte, so a hash collision can never join two different files. Files are
// read in (device, inode) order with large sequential reads; the token is tested between
// read blocks.
ContentGroupResult findContentGroups(const std::vector<ContentFile>& files,
                                     const ContentGroupOptions& options, StopToken& stop);

}  // namespace vastel
