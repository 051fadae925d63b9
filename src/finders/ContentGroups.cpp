#include "finders/ContentGroups.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>
#include <tuple>
#include <unordered_set>

namespace vastel {

QString contentStageText(ContentStage stage) {
    switch (stage) {
        case ContentStage::Sizes:
            return QStringLiteral("sizes");
        case ContentStage::Ends:
            return QStringLiteral("first and last 4 KiB");
        case ContentStage::Full:
            return QStringLiteral("full contents");
        case ContentStage::Confirm:
            return QStringLiteral("confirming");
    }
    return {};
}

// As joinPath: one separator between, none added after a folder that ends in one.
const char* pathOf(const ContentFile& file, QByteArray& buffer) {
    if (!file.path.isEmpty() || file.folder.isEmpty()) {
        buffer = file.path.isEmpty() ? file.name.toByteArray() : file.path;
        return buffer.constData();
    }
    buffer.clear();
    buffer.append(file.folder);
    if (!file.folder.endsWith('/')) buffer.append('/');
    buffer.append(file.name);
    return buffer.constData();
}

QByteArray ContentFile::fullPath() const {
    QByteArray buffer;
    pathOf(*this, buffer);
    return buffer;
}

namespace {

constexpr qint64 kEnd = 4096;             // bytes hashed at either end
constexpr qint64 kWholeRead = 64 * 1024;  // files up to this size are read whole at once
constexpr qint64 kBlock = 1 << 20;        // read block of the full and confirm stages
constexpr size_t kSideBySide = 64;        // files of a group compared in one pass
constexpr size_t kAhead = 64;             // files the ends stage opens ahead of its reads
constexpr qint64 kSideBySideBuffers = 64 << 20;
constexpr auto kProgressEvery = std::chrono::milliseconds(25);

// What a file looked like when it was first opened; any later difference means it changed.
// The size is the entry's own.
struct Stamps {
    qint64 mtimeSec = 0, ctimeSec = 0;
    qint32 mtimeNsec = 0, ctimeNsec = 0;
    friend bool operator==(const Stamps&, const Stamps&) = default;
};

Stamps stampsOf(const struct stat& st) {
    return {qint64(st.st_mtim.tv_sec), qint64(st.st_ctim.tv_sec), qint32(st.st_mtim.tv_nsec),
            qint32(st.st_ctim.tv_nsec)};
}

enum class EntryState : quint8 { Live, Changed, Unreadable };

// One file (one inode) with its names. A whole disk may hold millions: kept small.
struct Entry {
    qint32 file = 0;      // the name that stands for it
    qint32 linkSet = -1;  // its other names, in Grouping::linkSets_ (-1: none)
    qint64 size = 0;
    dev_t device = 0;
    ino_t inode = 0;
    Stamps stamps;
    // First and last 4 KiB (or everything, when whole), then the whole contents once the
    // full stage has read them.
    ContentDigest digest;
    std::unique_ptr<char[]> kept;  // the contents, when kept for the byte comparison
    bool stamped = false;
    bool whole = false;  // the ends digest was taken over the whole contents
    EntryState state = EntryState::Live;
};

bool readAll(int fd, char* into, qint64 size, qint64 offset) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, into + done, size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // an error, or the file shrank
        done += n;
    }
    return true;
}

// Reads what the page cache holds without waiting for the disk; the rest, if any, with
// waiting. Tells whether the disk had to be waited for.
bool readAllCached(int fd, char* into, qint64 size, qint64 offset, bool& waited) {
    waited = false;
    qint64 done = 0;
    while (done < size) {
        const iovec v{into + done, size_t(size - done)};
        const ssize_t n = ::preadv2(fd, &v, 1, off_t(offset + done), RWF_NOWAIT);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;  // not cached (EAGAIN), not supported, or the end of the file
        done += n;
    }
    if (done == size) return true;
    waited = true;
    return readAll(fd, into + done, size - done, offset + done);
}

class Grouping {
  public:
    Grouping(const std::vector<ContentFile>& files, const ContentGroupOptions& options,
             StopToken& stop)
        : files_(files), options_(options), stop_(stop) {}

    ContentGroupResult run() {
        progress(ContentStage::Sizes, true);
        std::vector<std::vector<qint32>> groups = sizeGroups();
        if (!enter(ContentStage::Ends)) return finish();
        groups = endsGroups(groups);
        if (!enter(ContentStage::Full)) return finish();
        groups = fullGroups(groups);
        if (!enter(ContentStage::Confirm)) return finish();
        confirm(groups);
        return finish();
    }

  private:
    std::unique_ptr<ContentHasher> newHasher() const {
        return options_.makeHasher ? options_.makeHasher() : makeContentHasher();
    }

    bool enter(ContentStage stage) {
        if (stop_) return false;
        if (options_.beforeStage) options_.beforeStage(stage);
        stage_ = stage;
        progress(stage, true);
        return !stop_;
    }

    void progress(ContentStage stage, bool now) {
        if (!options_.progress) return;
        const auto t = std::chrono::steady_clock::now();
        if (!now && t - lastProgress_ < kProgressEvery) return;
        lastProgress_ = t;
        options_.progress(stage, bytesRead_.load(std::memory_order_relaxed));
    }

    bool reserveKept(qint64 bytes) {
        qint64 used = keptBytes_.load(std::memory_order_relaxed);
        do {
            if (used + bytes > options_.keepBudget) return false;
        } while (!keptBytes_.compare_exchange_weak(used, used + bytes));
        return true;
    }
    void dropKept(Entry& e) {
        if (!e.kept) return;
        e.kept.reset();
        keptBytes_.fetch_sub(e.size);
    }

    void leaveOut(Entry& e, EntryState why) {
        if (e.state != EntryState::Live) return;
        e.state = why;
        dropKept(e);
    }

    // Opens the file of an entry: it must still be the regular file the walk found, with the
    // size it had, and look as it did when it was first opened.
    int open(Entry& e) {
        // Each reader thread joins the paths it opens in a buffer of its own.
        thread_local QByteArray buffer;
        const char* path = pathOf(files_[size_t(e.file)], buffer);
        const int flags = O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK;
        // Reading contents should not change the access dates the finders show.
        int fd = ::open(path, flags | O_NOATIME);
        if (fd < 0 && errno == EPERM) fd = ::open(path, flags);
        if (fd < 0) {
            leaveOut(e, errno == ENOENT || errno == ELOOP || errno == ENOTDIR
                            ? EntryState::Changed
                            : EntryState::Unreadable);
            return -1;
        }
        struct stat st;
        if (::fstat(fd, &st) != 0) {
            ::close(fd);
            leaveOut(e, EntryState::Unreadable);
            return -1;
        }
        const Stamps now = stampsOf(st);
        if (!S_ISREG(st.st_mode) || st.st_dev != e.device || st.st_ino != e.inode ||
            qint64(st.st_size) != e.size || (e.stamped && now != e.stamps)) {
            ::close(fd);
            leaveOut(e, EntryState::Changed);
            return -1;
        }
        e.stamps = now;
        e.stamped = true;
        return fd;
    }

    // After reading: the file must look as it did before; closes it either way.
    bool closeUnchanged(Entry& e, int fd) {
        struct stat st;
        const bool same =
            ::fstat(fd, &st) == 0 && qint64(st.st_size) == e.size && stampsOf(st) == e.stamps;
        ::close(fd);
        if (!same) leaveOut(e, EntryState::Changed);
        return same;
    }

    // One entry per inode; the entries of sizes shared by two or more files. Sorted as plain
    // values, not through indexes: a whole disk can hold millions of files.
    std::vector<std::vector<qint32>> sizeGroups() {
        struct Name {
            dev_t device;
            ino_t inode;
            qint32 index;
        };
        std::vector<Name> names;
        names.reserve(files_.size());
        for (size_t i = 0; i < files_.size(); ++i)
            if (files_[i].size > 0) names.push_back({files_[i].device, files_[i].inode, qint32(i)});
        std::sort(names.begin(), names.end(), [](const Name& a, const Name& b) {
            return std::tie(a.device, a.inode, a.index) < std::tie(b.device, b.inode, b.index);
        });
        struct Sized {
            qint64 size;
            dev_t device;
            ino_t inode;
            qint32 entry;
        };
        std::vector<Sized> sized;
        sized.reserve(names.size());
        entries_.reserve(names.size());
        std::vector<qint32> same;
        for (size_t k = 0; k < names.size();) {
            size_t j = k + 1;
            while (j < names.size() && names[j].device == names[k].device &&
                   names[j].inode == names[k].inode)
                ++j;
            // The name that sorts first stands for the file, whatever order the walk took; a
            // name met twice (targets that overlap) is one name.
            same.clear();
            for (size_t l = k; l < j; ++l) same.push_back(names[l].index);
            if (same.size() > 1) {
                std::vector<std::pair<QByteArray, qint32>> named;
                for (const qint32 i : same) named.push_back({files_[size_t(i)].fullPath(), i});
                std::sort(named.begin(), named.end());
                named.erase(
                    std::unique(named.begin(), named.end(),
                                [](const auto& a, const auto& b) { return a.first == b.first; }),
                    named.end());
                same.clear();
                for (const auto& n : named) same.push_back(n.second);
            }
            Entry e;
            const ContentFile& f = files_[size_t(same.front())];
            e.file = same.front();
            e.size = f.size;
            e.device = f.device;
            e.inode = f.inode;
            if (same.size() > 1) {
                e.linkSet = qint32(linkSets_.size());
                linkSets_.emplace_back(same.begin() + 1, same.end());
            }
            sized.push_back({e.size, e.device, e.inode, qint32(entries_.size())});
            entries_.push_back(std::move(e));
            k = j;
        }
        std::sort(sized.begin(), sized.end(), [](const Sized& a, const Sized& b) {
            return std::tie(a.size, a.device, a.inode) < std::tie(b.size, b.device, b.inode);
        });
        std::vector<std::vector<qint32>> groups;
        for (size_t k = 0; k < sized.size();) {
            size_t j = k + 1;
            while (j < sized.size() && sized[j].size == sized[k].size) ++j;
            if (j - k >= 2) {
                std::vector<qint32>& g = groups.emplace_back();
                for (size_t l = k; l < j; ++l) g.push_back(sized[l].entry);
            }
            k = j;
        }
        return groups;
    }

    // Splits groups by a digest of their live entries; runs of two or more stay.
    template <typename DigestOf>
    std::vector<std::vector<qint32>> splitBy(const std::vector<std::vector<qint32>>& groups,
                                             DigestOf digestOf) {
        std::vector<std::vector<qint32>> out;
        for (const std::vector<qint32>& g : groups) {
            std::vector<qint32> live;
            for (const qint32 i : g)
                if (entries_[size_t(i)].state == EntryState::Live) live.push_back(i);
            std::stable_sort(live.begin(), live.end(), [&](qint32 a, qint32 b) {
                return digestOf(entries_[size_t(a)]) < digestOf(entries_[size_t(b)]);
            });
            for (size_t k = 0; k < live.size();) {
                size_t j = k + 1;
                while (j < live.size() &&
                       digestOf(entries_[size_t(live[j])]) == digestOf(entries_[size_t(live[k])]))
                    ++j;
                if (j - k >= 2) {
                    out.emplace_back(live.begin() + qsizetype(k), live.begin() + qsizetype(j));
                } else {
                    dropKept(entries_[size_t(live[k])]);
                }
                k = j;
            }
        }
        return out;
    }

    std::vector<qint32> byIdentity(const std::vector<std::vector<qint32>>& groups) const {
        std::vector<qint32> order;
        for (const auto& g : groups) order.insert(order.end(), g.begin(), g.end());
        std::sort(order.begin(), order.end(), [this](qint32 a, qint32 b) {
            const Entry& x = entries_[size_t(a)];
            const Entry& y = entries_[size_t(b)];
            return std::tie(x.device, x.inode) < std::tie(y.device, y.inode);
        });
        return order;
    }

    // Whether another file of this size had this key before: then this one is most likely a
    // copy, and keeping its bytes spares reading it again for the byte comparison. The first
    // file of a group is read again; keeping every small file would cost far more memory.
    bool seenBefore(const Entry& e) {
        const std::lock_guard<std::mutex> lock(seenMutex_);
        return !seen_.insert({e.size, e.digest.low, e.digest.high}).second;
    }

    // Asks the disk for the bytes the ends stage reads, without waiting for them.
    static void prefetchEnds(const Entry& e, int fd) {
        if (e.size <= kWholeRead) {
            ::posix_fadvise(fd, 0, off_t(e.size), POSIX_FADV_WILLNEED);
        } else {
            ::posix_fadvise(fd, 0, kEnd, POSIX_FADV_WILLNEED);
            ::posix_fadvise(fd, off_t(e.size - kEnd), kEnd, POSIX_FADV_WILLNEED);
        }
    }

    // The first and last 4 KiB of a file; small files whole, in one read. Returns whether the
    // disk had to be waited for; closes the file.
    bool readEnds(Entry& e, int fd, ContentHasher& hasher, std::vector<char>& scratch) {
        bool ok, waited = false;
        if (e.size <= kWholeRead) {
            ok = readAllCached(fd, scratch.data(), e.size, 0, waited);
            if (ok) {
                e.digest = hasher.hashOf(scratch.data(), size_t(e.size));
                if (seenBefore(e) && reserveKept(e.size)) {
                    e.kept.reset(new char[size_t(e.size)]);
                    std::memcpy(e.kept.get(), scratch.data(), size_t(e.size));
                }
            }
            e.whole = true;
            bytesRead_.fetch_add(e.size, std::memory_order_relaxed);
        } else {
            bool tailWaited = false;
            ok = readAllCached(fd, scratch.data(), kEnd, 0, waited) &&
                 readAllCached(fd, scratch.data() + kEnd, kEnd, e.size - kEnd, tailWaited);
            waited = waited || tailWaited;
            if (ok) e.digest = hasher.hashOf(scratch.data(), size_t(2 * kEnd));
            bytesRead_.fetch_add(2 * kEnd, std::memory_order_relaxed);
        }
        if (!ok) {
            ::close(fd);
            leaveOut(e, EntryState::Unreadable);
            return waited;
        }
        closeUnchanged(e, fd);  // a whole file's digest is already its full one
        return waited;
    }

    int readersFor(size_t files) const {
        if (options_.readers > 0) return std::min(options_.readers, 2);
        return std::thread::hardware_concurrency() >= 2 && files >= 2048 ? 2 : 1;
    }

    std::vector<std::vector<qint32>> endsGroups(const std::vector<std::vector<qint32>>& groups) {
        const std::vector<qint32> order = byIdentity(groups);
        std::atomic<size_t> next{0};
        // The files are opened a run at a time. Once a read had to wait for the disk, every
        // file of a run is asked for as it is opened, so that the disk has many small reads
        // to serve at once instead of one after another; while the page cache holds the files
        // that costs nothing. Both readers take the next run of one (device, inode) order, so
        // the disk still sees one mostly ascending sweep.
        std::atomic<bool> cold{false};
        const auto work = [&](bool reporting) {
            std::unique_ptr<ContentHasher> hasher = newHasher();
            std::vector<char> scratch(size_t(std::max(kWholeRead, 2 * kEnd)));
            int fds[kAhead];
            for (;;) {
                const size_t from = next.fetch_add(kAhead, std::memory_order_relaxed);
                if (from >= order.size() || stop_) return;
                const size_t count = std::min(kAhead, order.size() - from);
                bool prefetching = cold.load(std::memory_order_relaxed);
                for (size_t i = 0; i < count; ++i) {
                    Entry& e = entries_[size_t(order[from + i])];
                    fds[i] = open(e);
                    if (prefetching && fds[i] >= 0) prefetchEnds(e, fds[i]);
                }
                for (size_t i = 0; i < count; ++i) {
                    if (fds[i] < 0) continue;
                    if (stop_) {
                        for (size_t j = i; j < count; ++j)
                            if (fds[j] >= 0) ::close(fds[j]);
                        return;
                    }
                    Entry& e = entries_[size_t(order[from + i])];
                    if (readEnds(e, fds[i], *hasher, scratch) && !prefetching) {
                        cold.store(true, std::memory_order_relaxed);
                        prefetching = true;
                        for (size_t j = i + 1; j < count; ++j)
                            if (fds[j] >= 0)
                                prefetchEnds(entries_[size_t(order[from + j])], fds[j]);
                    }
                    if (reporting) progress(ContentStage::Ends, false);
                }
            }
        };
        const int readers = readersFor(order.size());
        std::vector<std::thread> helpers;
        for (int r = 1; r < readers; ++r) helpers.emplace_back(work, false);
        work(true);
        for (std::thread& t : helpers) t.join();
        if (stop_) return {};
        return splitBy(groups, [](const Entry& e) { return e.digest; });
    }

    // The whole contents of the files whose ends matched, in large sequential reads. They are
    // not kept: reading them again from the page cache costs less than fresh memory would.
    std::vector<std::vector<qint32>> fullGroups(const std::vector<std::vector<qint32>>& groups) {
        std::vector<std::vector<qint32>> toRead;
        for (const auto& g : groups)
            if (!entries_[size_t(g.front())].whole) toRead.push_back(g);
        std::unique_ptr<ContentHasher> hasher = newHasher();
        std::unique_ptr<char[]> block(new char[size_t(kBlock)]);
        for (const qint32 i : byIdentity(toRead)) {
            if (stop_) return {};
            Entry& e = entries_[size_t(i)];
            const int fd = open(e);
            if (fd < 0) continue;
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
            ::posix_fadvise(fd, 0, 0, POSIX_FADV_NOREUSE);
            hasher->reset();
            bool ok = true;
            for (qint64 at = 0; at < e.size && ok;) {
                if (stop_) {
                    ::close(fd);
                    return {};
                }
                const qint64 n = std::min(kBlock, e.size - at);
                ok = readAll(fd, block.get(), n, at);
                if (ok) hasher->add(block.get(), size_t(n));
                at += n;
                bytesRead_.fetch_add(n, std::memory_order_relaxed);
                progress(ContentStage::Full, false);
            }
            if (!ok) {
                ::close(fd);
                leaveOut(e, EntryState::Unreadable);
                continue;
            }
            if (closeUnchanged(e, fd)) e.digest = hasher->digest();
        }
        return splitBy(groups, [](const Entry& e) { return e.digest; });
    }

    // The byte comparison of up to kSideBySide entries of one size, read side by side in
    // blocks (or taken from memory). Returns classes of equal contents, single files included.
    bool sideBySide(const std::vector<qint32>& members, std::vector<std::vector<qint32>>& out) {
        struct Source {
            Entry* entry = nullptr;
            int fd = -1;
            char* buffer = nullptr;
            const char* view = nullptr;
        };
        const qint64 size = entries_[size_t(members.front())].size;
        const qint64 block = std::clamp<qint64>(
            kSideBySideBuffers / qint64(members.size()) / 4096 * 4096, 64 * 1024, kBlock);
        std::vector<Source> sources;
        for (const qint32 i : members) {
            Entry& e = entries_[size_t(i)];
            if (e.state != EntryState::Live) continue;
            Source s;
            s.entry = &e;
            if (!e.kept) {
                s.fd = open(e);
                if (s.fd < 0) continue;
                ::posix_fadvise(s.fd, 0, 0, POSIX_FADV_SEQUENTIAL);
                ::posix_fadvise(s.fd, 0, 0, POSIX_FADV_NOREUSE);
            }
            sources.push_back(std::move(s));
        }
        // One buffer for all sources, kept from group to group: fresh large blocks for every
        // group would each cost the system's page faults again.
        const qint64 each = std::min(block, size);
        const qint64 needed = each * qint64(sources.size());
        if (needed > sideCapacity_) {
            sideBuffer_.reset(new char[size_t(needed)]);
            sideCapacity_ = needed;
        }
        for (size_t k = 0; k < sources.size(); ++k)
            if (sources[k].fd >= 0) sources[k].buffer = sideBuffer_.get() + qint64(k) * each;
        std::vector<std::vector<size_t>> classes(1);
        for (size_t s = 0; s < sources.size(); ++s) classes[0].push_back(s);
        const auto closeAll = [&] {
            for (Source& s : sources) {
                if (s.fd >= 0) ::close(s.fd);
                s.fd = -1;
            }
        };
        for (qint64 at = 0; at < size; at += block) {
            if (stop_) {
                closeAll();
                return false;
            }
            const qint64 n = std::min(block, size - at);
            std::vector<std::vector<size_t>> next;
            for (std::vector<size_t>& c : classes) {
                if (c.size() < 2) {
                    next.push_back(std::move(c));
                    continue;
                }
                std::vector<size_t> readable;
                for (const size_t k : c) {
                    // Many files side by side make a long step: the token is tested per read.
                    if (stop_) {
                        closeAll();
                        return false;
                    }
                    Source& s = sources[k];
                    if (s.entry->kept) {
                        s.view = s.entry->kept.get() + at;
                    } else if (readAll(s.fd, s.buffer, n, at)) {
                        s.view = s.buffer;
                        bytesRead_.fetch_add(n, std::memory_order_relaxed);
                    } else {
                        ::close(s.fd);
                        s.fd = -1;
                        leaveOut(*s.entry, EntryState::Unreadable);
                        continue;
                    }
                    readable.push_back(k);
                }
                // Members whose block differs from their class's first start classes of their
                // own: their earlier blocks were all equal, so this block alone tells them apart.
                while (!readable.empty()) {
                    const char* first = sources[readable.front()].view;
                    std::vector<size_t> same, rest;
                    for (const size_t k : readable)
                        (std::memcmp(sources[k].view, first, size_t(n)) == 0 ? same : rest)
                            .push_back(k);
                    next.push_back(std::move(same));
                    readable = std::move(rest);
                }
            }
            classes = std::move(next);
            for (const std::vector<size_t>& c : classes)
                if (c.size() == 1 && sources[c.front()].fd >= 0) {
                    closeUnchanged(*sources[c.front()].entry, sources[c.front()].fd);
                    sources[c.front()].fd = -1;
                }
            progress(ContentStage::Confirm, false);
        }
        for (Source& s : sources)
            if (s.fd >= 0) {
                closeUnchanged(*s.entry, s.fd);
                s.fd = -1;
            }
        for (const std::vector<size_t>& c : classes) {
            std::vector<qint32> equal;
            for (const size_t k : c)
                if (sources[k].entry->state == EntryState::Live)
                    equal.push_back(qint32(sources[k].entry - entries_.data()));
            if (!equal.empty()) out.push_back(std::move(equal));
        }
        return true;
    }

    void confirm(const std::vector<std::vector<qint32>>& groups) {
        for (const std::vector<qint32>& g : groups) {
            std::vector<std::vector<qint32>> classes;
            for (size_t from = 0; from < g.size(); from += kSideBySide) {
                const std::vector<qint32> part(
                    g.begin() + qsizetype(from),
                    g.begin() + qsizetype(std::min(g.size(), from + kSideBySide)));
                std::vector<std::vector<qint32>> found;
                if (!sideBySide(part, found)) return;
                // Classes of later parts join an equal class of the earlier ones: their
                // first files are compared in turn.
                const size_t earlier = classes.size();
                for (std::vector<qint32>& c : found) {
                    bool joined = false;
                    for (size_t k = 0; k < earlier; ++k) {
                        std::vector<qint32>& known = classes[k];
                        std::vector<std::vector<qint32>> pair;
                        if (!sideBySide({known.front(), c.front()}, pair)) return;
                        if (pair.size() == 1 && pair.front().size() == 2) {
                            known.insert(known.end(), c.begin(), c.end());
                            joined = true;
                            break;
                        }
                    }
                    if (!joined) classes.push_back(std::move(c));
                }
            }
            for (std::vector<qint32>& c : classes) {
                std::vector<qint32> live;
                for (const qint32 i : c)
                    if (entries_[size_t(i)].state == EntryState::Live) live.push_back(i);
                if (live.size() >= 2) report(live);
            }
            for (const qint32 i : g) dropKept(entries_[size_t(i)]);
        }
        sideBuffer_.reset();
        sideCapacity_ = 0;
    }

    void report(std::vector<qint32> members) {
        std::sort(members.begin(), members.end(), [this](qint32 a, qint32 b) {
            const Entry& x = entries_[size_t(a)];
            const Entry& y = entries_[size_t(b)];
            return std::tie(x.device, x.inode) < std::tie(y.device, y.inode);
        });
        ContentGroup group;
        group.size = entries_[size_t(members.front())].size;
        for (const qint32 i : members) {
            const Entry& e = entries_[size_t(i)];
            group.members.push_back(
                {e.file, e.linkSet < 0 ? std::vector<qint32>() : linkSets_[size_t(e.linkSet)]});
        }
        result_.groups.push_back(std::move(group));
    }

    ContentGroupResult finish() {
        result_.bytesRead = bytesRead_.load();
        result_.stopped = stop_.requested();
        for (const Entry& e : entries_) {
            if (e.state == EntryState::Changed) ++result_.changed;
            if (e.state == EntryState::Unreadable) ++result_.unreadable;
        }
        std::stable_sort(
            result_.groups.begin(), result_.groups.end(),
            [](const ContentGroup& a, const ContentGroup& b) { return a.size < b.size; });
        if (options_.progress) options_.progress(stage_, result_.bytesRead);
        return std::move(result_);
    }

    const std::vector<ContentFile>& files_;
    const ContentGroupOptions& options_;
    StopToken& stop_;
    std::vector<Entry> entries_;
    std::vector<std::vector<qint32>> linkSets_;
    std::atomic<qint64> bytesRead_{0};
    std::atomic<qint64> keptBytes_{0};
    std::unique_ptr<char[]> sideBuffer_;  // the byte comparison's read blocks
    qint64 sideCapacity_ = 0;
    struct Seen {
        qint64 size;
        quint64 low, high;
        friend bool operator==(const Seen&, const Seen&) = default;
    };
    struct SeenHash {
        size_t operator()(const Seen& s) const { return size_t(s.low ^ quint64(s.size)); }
    };
    std::mutex seenMutex_;
    std::unordered_set<Seen, SeenHash> seen_;
    ContentStage stage_ = ContentStage::Sizes;
    std::chrono::steady_clock::time_point lastProgress_;
    ContentGroupResult result_;
};

}  // namespace

ContentGroupResult findContentGroups(const std::vector<ContentFile>& files,
                                     const ContentGroupOptions& options, StopToken& stop) {
    return Grouping(files, options, stop).run();
}

}  // namespace vastel
