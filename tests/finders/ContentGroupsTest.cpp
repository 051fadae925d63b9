#include "finders/ContentGroups.h"
#include "finders/DupFinder.h"
#include "platform/DirEntry.h"
#include "support/TempTree.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <algorithm>

namespace vastel {
namespace {

using test::TempTree;

// Bytes that differ from seed to seed everywhere, so that a copy is the only equal file.
QByteArray bytes(qsizetype size, quint32 seed) {
    QByteArray out(size, Qt::Uninitialized);
    quint32 x = seed * 2654435761u + 12345;
    for (qsizetype i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        out[i] = char(x >> 24);
    }
    return out;
}

QByteArray changedAt(QByteArray data, qsizetype at) {
    data[at] = char(data[at] ^ 0x5a);
    return data;
}

// The files of a tree as the walk would hand them over.
std::vector<ContentFile> filesOf(const TempTree& tree, const QByteArrayList& names) {
    std::vector<ContentFile> files;
    for (const QByteArray& name : names) {
        DirEntry e;
        const QByteArray path = tree.path(name);
        EXPECT_TRUE(statPath(path, e)) << path.constData();
        files.push_back({path, e.size, e.device, e.inode, {}, {}});
    }
    return files;
}

// The same files given as folder and name, as the finder hands them over; every other folder
// ends in its separator. The views point into the paths of `files`.
std::vector<ContentFile> joinedFiles(const std::vector<ContentFile>& files) {
    std::vector<ContentFile> out;
    for (size_t i = 0; i < files.size(); ++i) {
        const QByteArrayView path(files[i].path);
        const qsizetype slash = path.lastIndexOf('/');
        ContentFile f = files[i];
        f.path.clear();
        f.folder = path.first(i % 2 ? slash : slash + 1);
        f.name = path.sliced(slash + 1);
        out.push_back(f);
    }
    return out;
}

// Groups as sorted texts "a b=link c": members by name, a member's hard links after "=".
using Texts = std::vector<std::string>;
Texts texts(const ContentGroupResult& result, const QByteArrayList& names) {
    Texts out;
    for (const ContentGroup& g : result.groups) {
        Texts members;
        for (const ContentMember& m : g.members) {
            Texts links;
            for (const qint32 l : m.links) links.push_back(names[l].toStdString());
            std::sort(links.begin(), links.end());
            std::string member = names[m.file].toStdString();
            for (size_t i = 0; i < links.size(); ++i) member += (i ? "," : "=") + links[i];
            members.push_back(member);
        }
        std::sort(members.begin(), members.end());
        std::string group;
        for (const std::string& m : members) group += (group.empty() ? "" : " ") + m;
        out.push_back(group);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Every digest the same: only the byte comparison can tell files apart.
class CollidingHasher final : public ContentHasher {
  public:
    void reset() override {}
    void add(const char*, size_t) override {}
    ContentDigest digest() override { return {42, 42}; }
};

struct Fixture {
    TempTree tree;
    QByteArrayList names;
    Texts expected;

    void add(const QByteArray& name, const QByteArray& content) {
        tree.createFileWith(name, content);
        names << name;
    }
    void link(const QByteArray& name, const QByteArray& existing) {
        ASSERT_EQ(::link(tree.path(existing).constData(), tree.path(name).constData()), 0);
        names << name;
    }
};

// Copies of small files (read whole) and of large ones (ends, then full contents), near
// copies that differ in one byte at the start, the middle or the end, files equal in their
// first and last 4 KiB, empty files, hard links, and a group larger than one side-by-side pass.
void build(Fixture& f) {
    const QByteArray small = bytes(5000, 1);
    f.add("small/a", small);
    f.add("small/copy of a", small);
    f.add("small/first", changedAt(small, 0));
    f.add("small/middle", changedAt(small, 2500));
    f.add("small/last", changedAt(small, 4999));
    f.expected.push_back("small/a small/copy of a");

    const QByteArray large = bytes(300'000, 2);
    f.add("large/b", large);
    f.add("large/b2", large);
    f.add("large/b3", large);
    f.add("large/first", changedAt(large, 0));
    f.add("large/middle", changedAt(large, 150'000));
    f.add("large/last", changedAt(large, 299'999));
    f.expected.push_back("large/b large/b2 large/b3");

    // Equal first and last 4 KiB, a difference just past them: whole reads and full hashes.
    const QByteArray mid = bytes(20'000, 3);
    f.add("ends/small", mid);
    f.add("ends/small other", changedAt(mid, 4096));
    f.add("ends/large", large.left(200'000));
    f.add("ends/large other", changedAt(large.left(200'000), 4096));

    f.add("empty/one", {});
    f.add("empty/two", {});

    // A file with a second name and a copy; two names of one file without a copy.
    const QByteArray linked = bytes(7000, 4);
    f.add("links/file", linked);
    f.link("links/second name", "links/file");
    f.add("links/copy", linked);
    f.expected.push_back("links/copy links/file=links/second name");
    f.add("links/alone", bytes(7000, 5));
    f.link("links/alone too", "links/alone");
    f.names << "links/copy";  // met twice, as targets that overlap give it: still one name

    // 70 copies with two other equal files among them, in inode order.
    const QByteArray many = bytes(70'000, 6);
    Texts manyNames;
    for (int i = 0; i < 70; ++i) {
        const QByteArray name = "many/" + QByteArray::number(100 + i);
        if (i == 30) {
            f.add("many/odd1", changedAt(many, 69'000));
            f.add("many/odd2", changedAt(many, 69'000));
        }
        f.add(name, many);
        manyNames.push_back(name.toStdString());
    }
    std::sort(manyNames.begin(), manyNames.end());
    std::string manyGroup;
    for (const std::string& n : manyNames) manyGroup += (manyGroup.empty() ? "" : " ") + n;
    f.expected.push_back(manyGroup);
    f.expected.push_back("many/odd1 many/odd2");
    std::sort(f.expected.begin(), f.expected.end());
}

TEST(ContentGroups, OnlyEqualBytesGroupWhateverTheHashReadersAndMemory) {
    Fixture f;
    build(f);
    const std::vector<ContentFile> files = filesOf(f.tree, f.names);
    enum class Hash { Program, Builtin, Colliding };
    struct Case {
        const char* what;
        Hash hash;
        int readers;
        qint64 keepBudget;
        bool evicted = false;  // out of the page cache: the reads that wait for the disk
        bool joined = false;   // paths joined from folder and name as the files are opened
    };
    constexpr qint64 kAll = qint64(256) << 20;
    const Case cases[] = {
        {"the program's hash", Hash::Program, 1, kAll},
        {"two readers", Hash::Program, 2, kAll},
        {"nothing kept: every group read again side by side", Hash::Program, 1, 0},
        {"the built-in hash, part kept", Hash::Builtin, 1, 100'000},
        {"every digest equal", Hash::Colliding, 1, kAll},
        {"every digest equal, nothing kept, two readers", Hash::Colliding, 2, 0},
        {"not in the page cache", Hash::Program, 1, kAll, true},
        {"paths given as folder and name", Hash::Program, 2, 100'000, false, true},
    };
    const std::vector<ContentFile> joined = joinedFiles(files);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.evicted)
            for (const ContentFile& file : files) {
                const int fd = ::open(file.path.constData(), O_RDONLY);
                ASSERT_GE(fd, 0);
                ::fsync(fd);
                ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
                ::close(fd);
            }
        ContentGroupOptions options;
        options.readers = c.readers;
        options.keepBudget = c.keepBudget;
        if (c.hash == Hash::Colliding)
            options.makeHasher = [] { return std::make_unique<CollidingHasher>(); };
        if (c.hash == Hash::Builtin) options.makeHasher = [] { return makeBuiltinHasher(); };
        StopToken stop;
        const ContentGroupResult result =
            findContentGroups(c.joined ? joined : files, options, stop);
        EXPECT_EQ(texts(result, f.names), f.expected);
        EXPECT_EQ(result.changed, 0);
        EXPECT_EQ(result.unreadable, 0);
        EXPECT_FALSE(result.stopped);
        for (const ContentGroup& g : result.groups)
            EXPECT_EQ(g.size, files[size_t(g.members.front().file)].size);
    }
}

TEST(ContentGroups, BuiltinHashTellsNearCopiesApartAndStreamsLikeOneBuffer) {
    const std::unique_ptr<ContentHasher> h = makeBuiltinHasher();
    const QByteArray data = bytes(10'000, 7);
    const ContentDigest whole = h->hashOf(data.constData(), size_t(data.size()));
    // Blocks of any size give the digest of the whole buffer.
    for (const size_t step : {size_t(1), size_t(7), size_t(32), size_t(4096)}) {
        h->reset();
        for (qsizetype at = 0; at < data.size(); at += qsizetype(step))
            h->add(data.constData() + at, std::min(step, size_t(data.size() - at)));
        EXPECT_EQ(h->digest(), whole) << step;
    }
    EXPECT_NE(h->hashOf(data.constData(), 9999), whole);  // a shorter file
    QByteArray zeros(64, '\0');
    EXPECT_NE(h->hashOf(zeros.constData(), 63), h->hashOf(zeros.constData(), 64));
    for (const qsizetype at : {0, 31, 32, 5000, 9999})
        EXPECT_NE(h->hashOf(changedAt(data, at).constData(), size_t(data.size())), whole) << at;
}

// Rewrites a file in place with other bytes of the same size and, if asked, puts its old
// modification time back.
void rewrite(const QByteArray& path, const QByteArray& content, bool keepMtime) {
    struct stat before;
    ASSERT_EQ(::stat(path.constData(), &before), 0);
    const int fd = ::open(path.constData(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, content.constData(), size_t(content.size()), 0), content.size());
    const timespec times[2] = {
        before.st_atim, keepMtime ? before.st_mtim : timespec{before.st_mtim.tv_sec - 60, 0}};
    ASSERT_EQ(::futimens(fd, times), 0);
    ::close(fd);
}

TEST(ContentGroups, AFileThatChangesWhileItIsReadIsLeftOut) {
    struct Case {
        const char* what;
        ContentStage when;
        qint64 size;
        qint64 keepBudget;
        bool sameBytes;  // written back unchanged: a change is a change all the same
        bool keepMtime;  // the old modification time put back: the change time still tells
    };
    const Case cases[] = {
        {"before the full contents", ContentStage::Full, 200'000, qint64(256) << 20, false, false},
        {"before the comparison", ContentStage::Confirm, 200'000, 0, false, false},
        {"small, before the comparison", ContentStage::Confirm, 3000, 0, false, false},
        {"the same bytes written again", ContentStage::Full, 200'000, qint64(256) << 20, true,
         false},
        {"its old modification time put back", ContentStage::Confirm, 200'000, 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempTree tree;
        const QByteArray content = bytes(c.size, 8);
        const QByteArrayList names{"c1", "c2", "c3"};
        for (const QByteArray& n : names) tree.createFileWith(n, content);
        const std::vector<ContentFile> files = filesOf(tree, names);
        ContentGroupOptions options;
        options.keepBudget = c.keepBudget;
        options.readers = 1;
        options.beforeStage = [&](ContentStage next) {
            if (next == c.when)
                rewrite(tree.path("c2"), c.sameBytes ? content : changedAt(content, 10),
                        c.keepMtime);
        };
        StopToken stop;
        const ContentGroupResult result = findContentGroups(files, options, stop);
        EXPECT_EQ(texts(result, names), Texts{"c1 c3"});
        EXPECT_EQ(result.changed, 1);
    }
}

// Sparse files: their zeros read fast and take no room.
std::vector<ContentFile> sparseFiles(TempTree& tree, const QByteArrayList& names, qint64 size) {
    for (const QByteArray& n : names) {
        const QByteArray path = tree.createFileWith(n, {});
        EXPECT_EQ(::truncate(path.constData(), size), 0);
    }
    return filesOf(tree, names);
}

TEST(ContentGroups, StopActsInsideALargeFileAndStagesRunInOrder) {
    TempTree tree;
    // Stopped at the first report of the full contents stage: well before the end of the
    // first file, as the token is tested between read blocks.
    constexpr qint64 kLarge = qint64(512) << 20;
    const std::vector<ContentFile> large = sparseFiles(tree, {"large1", "large2"}, kLarge);
    ContentGroupOptions options;
    std::vector<ContentStage> stages;
    StopToken stop;
    options.progress = [&](ContentStage stage, qint64 bytesRead) {
        if (stages.empty() || stages.back() != stage) stages.push_back(stage);
        if (stage == ContentStage::Full && bytesRead > 2 * 8192) stop.request();
    };
    const ContentGroupResult result = findContentGroups(large, options, stop);
    EXPECT_TRUE(result.stopped);
    EXPECT_TRUE(result.groups.empty());
    EXPECT_LT(result.bytesRead, kLarge / 2) << "the stop waited for the end of a file";
    EXPECT_EQ(stages, (std::vector<ContentStage>{ContentStage::Sizes, ContentStage::Ends,
                                                 ContentStage::Full}));

    // Not stopped: one group, every byte of both files read twice at most.
    constexpr qint64 kSize = qint64(8) << 20;
    const QByteArrayList names{"big1", "big2"};
    const std::vector<ContentFile> files = sparseFiles(tree, names, kSize);
    stages.clear();
    options.progress = [&](ContentStage stage, qint64) {
        if (stages.empty() || stages.back() != stage) stages.push_back(stage);
    };
    StopToken never;
    const ContentGroupResult all = findContentGroups(files, options, never);
    EXPECT_EQ(texts(all, names), Texts{"big1 big2"});
    EXPECT_LE(all.bytesRead, 4 * kSize + 4 * 8192);
    EXPECT_EQ(stages, (std::vector<ContentStage>{ContentStage::Sizes, ContentStage::Ends,
                                                 ContentStage::Full, ContentStage::Confirm}));
}

// The finder's content mode and vastel-scan dups --mode 7: rows by group, the shade changing
// from group to group even where two groups have one size, and hard links beside their file.
TEST(ContentMode, FinderRowsAndScanOutput) {
    TempTree tree;
    const QByteArray x = bytes(3000, 9), y = bytes(3000, 10);
    tree.createFileWith("x1", x);
    tree.createFileWith("sub/x2", x);
    tree.createFileWith("y1", y);
    tree.createFileWith("y2", y);
    tree.createFileWith("lonely", bytes(3000, 11));
    ASSERT_EQ(::link(tree.path("y2").constData(), tree.path("sub/y2 link").constData()), 0);
    tree.createFileWith(".hidden copy", x);
    tree.createFileWith("e1", {});
    tree.createFileWith("e2", {});

    DupOptions options;
    options.matchMode = kContentMatchMode;
    options.size = {SizeChoice::Larger, 0, 0};
    ScanTarget target;
    target.root = tree.root();
    target.text = QString::fromUtf8(tree.root());
    WalkProgress progress;
    StopToken abort;
    const DupRun run = runDupFinder({target}, "*.*", options, progress, abort);
    ASSERT_EQ(run.records.size(), 4u);
    ASSERT_EQ(run.links.size(), 4u);
    Texts rows;
    for (size_t k = 0; k < run.records.size(); ++k) {
        const ResultRecord& r = run.records[k];
        std::string row = r.path().mid(tree.root().size() + 1).toStdString() +
                          (r.shade == GridShade::A ? 'A' : 'B');
        for (const QByteArray& l : run.links[k])
            row += " =" + l.mid(tree.root().size() + 1).toStdString();
        rows.push_back(row);
    }
    // "Size only" orders by name within a size: x1, x2, y1, y2 link.
    // The name that sorts first stands for a file with two names.
    EXPECT_EQ(rows, (Texts{"x1A", "sub/x2A", "y1B", "sub/y2 linkB =y2"}));
    EXPECT_EQ(contentMatchModeText(), QStringLiteral("Identical content"));

    QProcess p;
    p.start(QStringLiteral(VASTEL_SCAN_PATH), {"dups", "--mode", "7", "--larger", "1", "--unit",
                                               "bytes", QFile::decodeName(tree.root())});
    ASSERT_TRUE(p.waitForFinished(60000));
    ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    const QByteArrayList lines = p.readAllStandardOutput().split('\n');
    Texts shown;
    for (const QByteArray& line : lines) {
        if (line.isEmpty()) {
            shown.push_back("|");
            continue;
        }
        const QByteArrayList fields = line.split('\t');
        ASSERT_GE(fields.size(), 8);
        std::string row = fields[7].mid(tree.root().size() + 1).toStdString();
        for (qsizetype i = 8; i < fields.size(); ++i)
            row += " =" + fields[i].mid(tree.root().size() + 1).toStdString();
        shown.push_back(row);
    }
    EXPECT_EQ(shown, (Texts{"x1", "sub/x2", "|", "y1", "sub/y2 link =y2", "|"}));

    QProcess refused;
    refused.start(QStringLiteral(VASTEL_SCAN_PATH),
                  {"dups", "--mode", "8", QFile::decodeName(tree.root())});
    ASSERT_TRUE(refused.waitForFinished(60000));
    EXPECT_EQ(refused.exitCode(), 2);
}

}  // namespace
}  // namespace vastel
