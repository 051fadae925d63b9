#include "core/TreeWalk.h"

#include "platform/CoarseClock.h"
#include "platform/WalkEntry.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>

namespace vastel {

namespace {

inline bool isDotOrDotDot(const char* name, qsizetype length) {
    return name[0] == '.' && (length == 1 || (length == 2 && name[1] == '.'));
}

// Buffers of a very wide folder are not kept for the folders that come after it.
constexpr size_t kKeptBufferBytes = 1 << 20;

void release(std::string& buffer) {
    if (buffer.capacity() > kKeptBufferBytes)
        std::string().swap(buffer);
    else
        buffer.clear();
}

}  // namespace

TreeWalk::TreeWalk(const WalkOptions& options, WalkSink& sink, WalkProgress& progress,
                   StopToken& abort)
    : options_(options),
      pattern_(options.pattern),
      sink_(&sink),
      progress_(progress),
      abort_(abort) {
    // The root and the folder being read must be open at the same time.
    if (options_.maxOpenFolders < 2) options_.maxOpenFolders = 2;
    levels_.reserve(64);
}

TreeWalk::~TreeWalk() {
    while (depth_ > 0) leaveFolder();
}

void TreeWalk::scanTargets(const std::vector<ScanTarget>& targets) {
    for (const ScanTarget& target : targets) scanTarget(target);
}

bool TreeWalk::scanTarget(const ScanTarget& target) {
    if (!targetReady(target)) return true;
    // Entering needs search permission, as making it the current folder would.
    if (!folderSearchable(target.root)) {
        ++failedTargets_;
        progress_.targetFailed(target);
        return false;
    }
    // A root that can be entered but not listed counts as empty.
    int fd = openRootFolder(target.root);
    dev_t device = 0;
    ino_t inode = 0;
    if (fd >= 0 && !folderIdentity(fd, device, inode)) {
        closeFolder(fd);
        fd = -1;
    }
    if (levels_.empty()) levels_.emplace_back();
    Level& root = levels_[0];
    root.fd = fd;
    root.device = device;
    root.inode = inode;
    root.nameStart = 0;
    path_ = target.root;
    root.pathEnd = path_.size();
    root.nextFolder = 0;
    root.listed = false;
    release(root.folders);
    release(root.files);
    depth_ = 1;
    openFolders_ = fd >= 0 ? 1 : 0;
    rootDevice_ = device;
    above_.clear();
    nextPump_ = 0;  // the first test shows the target's folder at once
    walkTree();
    return true;
}

void TreeWalk::scanSubtree(const WalkSubtree& subtree, WalkSink& sink) {
    sink_ = &sink;
    scanSubtree(subtree);
}

void TreeWalk::scanSubtree(const WalkSubtree& subtree) {
    if (abort_) return;
    const int fd = ::open(subtree.path.constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW);
    if (fd < 0) return;
    dev_t device = 0;
    ino_t inode = 0;
    if (!folderIdentity(fd, device, inode) || device != subtree.folder.device ||
        inode != subtree.folder.inode) {
        closeFolder(fd);
        return;
    }
    if (levels_.empty()) levels_.emplace_back();
    Level& root = levels_[0];
    root.fd = fd;
    root.device = device;
    root.inode = inode;
    root.nameStart = 0;
    path_ = subtree.path;
    root.pathEnd = path_.size();
    root.nextFolder = 0;
    root.listed = false;
    release(root.folders);
    release(root.files);
    depth_ = 1;
    openFolders_ = 1;
    rootDevice_ = subtree.rootDevice;
    above_ = subtree.above;
    nextPump_ = 0;
    walkTree();
}

void TreeWalk::walkTree() {
    while (depth_ > 0) {
        // Room for a child first: growing the vector moves the names pointed into below.
        if (levels_.size() <= depth_) levels_.resize(depth_ + 1);
        Level& level = levels_[depth_ - 1];
        if (!level.listed) {
            level.listed = true;
            if (!proceed()) {
                leaveFolder();
                continue;
            }
            sink_->folderStarted(path_);
            listFolder(level);
            continue;
        }
        if (abort_) {
            leaveFolder();
            continue;
        }
        if (level.nextFolder < level.folders.size()) {
            const char* name = level.folders.data() + level.nextFolder;
            const qsizetype length = qsizetype(std::strlen(name));
            level.nextFolder += size_t(length) + 1;
            if (proceed()) enterSubfolder(name, length);
            continue;
        }
        scanFiles(level);
        if (!abort_) sink_->folderFinished(path_);
        leaveFolder();
    }
}

void TreeWalk::listFolder(Level& level) {
    if (level.fd < 0) return;
    reader_.start(level.fd);
    FolderReader::Entry e;
    int sinceTest = 0;
    qint64 folders = 0;
    while (reader_.next(e)) {
        // A folder of a million names takes a while even without looking at them.
        if (++sinceTest == 1024) {
            sinceTest = 0;
            if (!proceed()) return;
        }
        if (isDotOrDotDot(e.name, e.length)) continue;
        mode_t type = e.type;
        if (type == 0) {  // the file system does not give types in its listing
            if (!statWalkEntry(level.fd, e.name, e.length, entry_, stamps_,
                               options_.accessStampOnly))
                continue;
            type = entry_.mode & S_IFMT;
        }
        if (S_ISLNK(type)) continue;  // links are never followed nor listed
        const quint32 attributes =
            attributesOf(QByteArray::fromRawData(e.name, e.length), type) & (faHidden | faSysFile);
        if (S_ISDIR(type)) {
            ++folders;
            if (!attributes) level.folders.append(e.name, size_t(e.length) + 1);
        } else if ((!attributes || options_.files == FileSelection::All) &&
                   pattern_.matches(e.name, e.length)) {
            level.files.append(e.name, size_t(e.length) + 1);
        }
    }
    sink_->folderListed(path_, folders);
}

void TreeWalk::enterSubfolder(const char* name, qsizetype length) {
    const size_t parent = depth_ - 1;
    if (!ensureOpen(parent)) {
        // The folder went away under the walk: nothing more of it can be read.
        levels_[parent].nextFolder = levels_[parent].folders.size();
        levels_[parent].files.clear();
        return;
    }
    const int parentFd = levels_[parent].fd;
    // Looked at first without automounting; then opened without following a link, and the
    // folder opened must be the one looked at.
    if (!statWalkEntry(parentFd, name, length, entry_, stamps_, options_.accessStampOnly) ||
        !entry_.isDirectory() || entry_.device != rootDevice_)
        return;
    for (size_t i = 0; i < depth_; ++i)
        if (levels_[i].inode == entry_.inode && levels_[i].device == entry_.device) return;
    for (const WalkSubtree::Identity& a : above_)
        if (a.inode == entry_.inode && a.device == entry_.device) return;
    const int fd = openFolderAt(parentFd, name);
    if (fd < 0) return;  // unreadable folders are skipped silently
    dev_t device = 0;
    ino_t inode = 0;
    if (!folderIdentity(fd, device, inode) || device != entry_.device || inode != entry_.inode) {
        closeFolder(fd);
        return;
    }
    if (options_.splitDepth > 0 && depth_ == size_t(options_.splitDepth) && above_.empty()) {
        closeFolder(fd);
        WalkSubtree subtree;
        subtree.path = path_;
        if (!subtree.path.endsWith('/')) subtree.path.append('/');
        subtree.path.append(name, length);
        subtree.folder = {device, inode};
        subtree.rootDevice = rootDevice_;
        subtree.above.reserve(depth_);
        for (size_t i = 0; i < depth_; ++i)
            subtree.above.push_back({levels_[i].device, levels_[i].inode});
        sink_->subtreeFound(subtree);
        return;
    }
    Level& child = levels_[depth_];
    child.fd = fd;
    child.device = device;
    child.inode = inode;
    if (!path_.endsWith('/')) path_.append('/');
    child.nameStart = path_.size();
    path_.append(name, length);
    child.pathEnd = path_.size();
    child.nextFolder = 0;
    child.listed = false;
    ++depth_;
    ++openFolders_;
    limitOpenFolders(depth_ - 1);
}

void TreeWalk::scanFiles(Level& level) {
    if (abort_ || level.files.empty()) return;
    if (!ensureOpen(depth_ - 1)) return;
    const int fd = level.fd;
    size_t position = 0;
    while (position < level.files.size()) {
        const char* name = level.files.data() + position;
        const size_t length = std::strlen(name);
        position += length + 1;
        if (!proceed()) return;
        if (!statWalkEntry(fd, name, qsizetype(length), entry_, stamps_, options_.accessStampOnly))
            continue;  // removed since the listing
        if (entry_.isDirectory() || entry_.isSymlink()) continue;
        if (options_.files == FileSelection::Listed && (entry_.attributes & (faHidden | faSysFile)))
            continue;
        const WalkFile file{path_, entry_};
        if (!sink_->accepts(file)) continue;
        if (collected_ >= options_.capacity) {
            full_ = true;
            abort_.request();
            progress_.collectionFull();
            return;
        }
        sink_->collect(file);
        ++collected_;
    }
}

void TreeWalk::leaveFolder() {
    Level& level = levels_[depth_ - 1];
    if (level.fd >= 0) {
        closeFolder(level.fd);
        level.fd = -1;
        --openFolders_;
    }
    release(level.folders);
    release(level.files);
    level.nextFolder = 0;
    --depth_;
    if (depth_ > 0) path_.truncate(levels_[depth_ - 1].pathEnd);
}

bool TreeWalk::ensureOpen(size_t index) {
    if (levels_[index].fd >= 0) return true;
    size_t from = index;
    while (from > 0 && levels_[from].fd < 0) --from;
    if (levels_[from].fd < 0) return false;
    // Down again from the nearest open folder, one name at a time, each folder checked to be
    // the one that was walked before.
    int fd = levels_[from].fd;
    for (size_t k = from + 1; k <= index; ++k) {
        const Level& level = levels_[k];
        const QByteArray name = path_.mid(level.nameStart, level.pathEnd - level.nameStart);
        const int next = openFolderAt(fd, name.constData());
        if (k > from + 1) closeFolder(fd);
        if (next < 0) return false;
        dev_t device = 0;
        ino_t inode = 0;
        if (!folderIdentity(next, device, inode) || device != level.device ||
            inode != level.inode) {
            closeFolder(next);
            return false;
        }
        fd = next;
    }
    levels_[index].fd = fd;
    ++openFolders_;
    limitOpenFolders(index);
    return true;
}

void TreeWalk::limitOpenFolders(size_t keep) {
    // The shallowest folders are needed again last; the root stays open.
    for (size_t i = 1; i < depth_ && openFolders_ > options_.maxOpenFolders; ++i) {
        if (i == keep || levels_[i].fd < 0) continue;
        closeFolder(levels_[i].fd);
        levels_[i].fd = -1;
        --openFolders_;
    }
}

bool TreeWalk::proceed() {
    if (options_.sliceMs > 0) {
        const qint64 now = coarseMilliseconds();
        if (now >= nextPump_) {
            progress_.pump(path_);
            nextPump_ = coarseMilliseconds() + options_.sliceMs;
        }
    }
    return !abort_;
}

}  // namespace vastel
