#include "finders/DupFinder.h"

#include "core/GridModel.h"
#include "core/ParallelFor.h"
#include "core/SortGrid.h"
#include "core/Utility.h"
#include "finders/FieldTexts.h"
#include "platform/MemoryRelease.h"
#include "platform/NativePath.h"

#include <QByteArrayView>
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <limits>
#include <mutex>
#include <thread>

namespace vastel {

SizeCondition SizeCondition::fromNumbers(SizeChoice choice, qint64 first, qint64 second,
                                         bool kilobytes) {
    const auto bytes = [kilobytes](qint64 n) {
        if (!kilobytes) return n;
        constexpr qint64 kMax = std::numeric_limits<qint64>::max() / 1024;
        if (n > kMax) return std::numeric_limits<qint64>::max();
        if (n < -kMax) return std::numeric_limits<qint64>::min();
        return n * 1024;
    };
    return {choice, bytes(first), bytes(second)};
}

bool SizeCondition::passes(qint64 size) const {
    switch (choice) {
        case SizeChoice::Larger:
            return size >= lower;
        case SizeChoice::Smaller:
            return size <= lower;
        case SizeChoice::Between:
            return lower <= size && size <= upper;
    }
    return false;
}

const QStringList& matchModeTexts() {
    static const QStringList texts{
        QStringLiteral("Filename only"),
        QStringLiteral("Filename and size"),
        QStringLiteral("Filename, size and modify date/time"),
        QStringLiteral("Size only"),
        QStringLiteral("Size and modify date/time"),
        QStringLiteral("Size and type"),
        QStringLiteral("Type and modify date/time"),
    };
    return texts;
}

const QString& contentMatchModeText() {
    static const QString text = QStringLiteral("Identical content");
    return text;
}

const QStringList& duplicateHeaders() {
    static const QStringList headers{
        QStringLiteral("Filename"), QStringLiteral("Size"),   QStringLiteral("Modified"),
        QStringLiteral("Time"),     QStringLiteral("Access"), QStringLiteral("Folder"),
        QStringLiteral("Type"),
    };
    return headers;
}

const QStringList& fileHogHeaders() {
    static const QStringList headers{
        QStringLiteral("Size"),   QStringLiteral("Modified"), QStringLiteral("Time"),
        QStringLiteral("Access"), QStringLiteral("FileName"), QStringLiteral("Type"),
    };
    return headers;
}

int markColumnOf(FinderMode mode) { return mode == FinderMode::Duplicates ? 0 : 4; }
int folderColumn() { return 5; }

namespace {

// The fields of a collection line.
enum class Field : quint8 { Name, Size, Date, Time, Access, Folder, Type, Path };

// One collected file. Texts are not kept per file: the stamps are indexes into shared texts,
// the folder and the type indexes into the collection's tables.
struct Record {
    const char* nameData = nullptr;  // exact bytes, kept in the collection's name blocks
    qint64 size = 0;
    qint32 folder = 0;
    qint32 type = 0;
    quint32 modified = 0, accessed = 0;  // the packed stamps (their texts are in StampTexts)
    qint32 unicodeKey = -1;  // foldedKey(name) for names beyond ASCII; else folded on the fly
    quint16 nameSize = 0;    // a name has at most 255 bytes

    QByteArrayView name() const { return QByteArrayView(nameData, nameSize); }
};

// The records of a collection in blocks that never move: growing never copies what was
// collected, and a collection of millions of files needs no second, doubled copy of itself.
class RecordStore {
  public:
    void push_back(const Record& r) {
        if (size_ % kBlock == 0) blocks_.push_back(std::make_unique<Record[]>(kBlock));
        blocks_.back()[size_ % kBlock] = r;
        ++size_;
    }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    const Record& operator[](size_t i) const { return blocks_[i / kBlock][i % kBlock]; }
    Record& operator[](size_t i) { return blocks_[i / kBlock][i % kBlock]; }
    // Whether the next record starts a new block (push_back then changes the block list).
    bool full() const { return size_ % kBlock == 0; }
    // The records of the block that holds index i, from i to the block's end.
    Record* from(size_t i) { return &blocks_[i / kBlock][i % kBlock]; }
    static size_t toBlockEnd(size_t i) { return kBlock - i % kBlock; }
    // Lets go of the blocks that hold only records before `index`: a pass in record order
    // frees what it has passed. Those records must not be used again.
    void releaseBefore(size_t index) {
        for (size_t b = released_; b < index / kBlock && b < blocks_.size(); ++b)
            blocks_[b].reset();
        released_ = std::max(released_, index / kBlock);
    }

  private:
    static constexpr size_t kBlock = 16384;
    std::vector<std::unique_ptr<Record[]>> blocks_;
    size_t size_ = 0;
    size_t released_ = 0;
};

struct Folder {
    QByteArray path;  // exact bytes
    QByteArray key;   // foldedKey(path)
};

struct Type {
    QString text;
};

// Names packed one after another in large blocks that never move: one allocation for many
// thousands of names instead of one each.
class NameBlocks {
  public:
    QByteArrayView add(QByteArrayView bytes) {
        if (blocks_.empty() || used_ + bytes.size() > capacity_) {
            capacity_ = std::max(kBlockSize, bytes.size());
            blocks_.push_back(std::make_unique<char[]>(size_t(capacity_)));
            used_ = 0;
        }
        char* at = blocks_.back().get() + used_;
        std::memcpy(at, bytes.data(), size_t(bytes.size()));
        used_ += bytes.size();
        return QByteArrayView(at, bytes.size());
    }

  private:
    static constexpr qsizetype kBlockSize = 1 << 20;
    std::vector<std::unique_ptr<char[]>> blocks_;
    qsizetype used_ = 0;
    qsizetype capacity_ = 0;
};

// The type index of each extension seen: open addressing on the extension's bytes, since a
// walk asks once per file and most files share a few extensions.
class ExtensionTable {
  public:
    static constexpr qint32 kMissing = -1;
    qint32 find(QByteArrayView extension, quint64 hash) const {
        if (slots_.empty()) return kMissing;
        for (size_t i = hash & mask_;; i = (i + 1) & mask_) {
            const Slot& s = slots_[i];
            if (s.type < 0) return kMissing;
            if (s.hash == hash && QByteArrayView(s.extension) == extension) return s.type;
        }
    }
    void insert(QByteArray extension, quint64 hash, qint32 type) {
        if ((count_ + 1) * 2 > slots_.size()) grow();
        place({std::move(extension), hash, type});
        ++count_;
    }
    static quint64 hashOf(QByteArrayView bytes) {
        quint64 h = 14695981039346656037ull;
        for (const char c : bytes) h = (h ^ uchar(c)) * 1099511628211ull;
        return h ^ (h >> 29);
    }

  private:
    struct Slot {
        QByteArray extension;
        quint64 hash = 0;
        qint32 type = kMissing;
    };
    void place(Slot slot) {
        size_t i = slot.hash & mask_;
        while (slots_[i].type >= 0) i = (i + 1) & mask_;
        slots_[i] = std::move(slot);
    }
    void grow() {
        std::vector<Slot> old = std::move(slots_);
        slots_.assign(std::max<size_t>(64, old.size() * 2), Slot{});
        mask_ = slots_.size() - 1;
        for (Slot& s : old)
            if (s.type >= 0) place(std::move(s));
    }
    std::vector<Slot> slots_;
    size_t mask_ = 0;
    size_t count_ = 0;
};

// Lexicographic comparison of two keys made of pieces, without joining them.
int compareJoined(std::initializer_list<QByteArrayView> a,
                  std::initializer_list<QByteArrayView> b) {
    auto ia = a.begin(), ib = b.begin();
    qsizetype pa = 0, pb = 0;
    for (;;) {
        while (ia != a.end() && pa == ia->size()) ++ia, pa = 0;
        while (ib != b.end() && pb == ib->size()) ++ib, pb = 0;
        if (ia == a.end() || ib == b.end())
            return (ia == a.end() ? 0 : 1) - (ib == b.end() ? 0 : 1);
        const qsizetype n = std::min(ia->size() - pa, ib->size() - pb);
        const int c = std::memcmp(ia->data() + pa, ib->data() + pb, size_t(n));
        if (c != 0) return c;
        pa += n;
        pb += n;
    }
}

int compareBytes(QByteArrayView a, QByteArrayView b) {
    const qsizetype n = std::min(a.size(), b.size());
    const int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), size_t(n));
    if (c != 0) return c;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

constexpr uchar asciiUpper(uchar c) { return c >= 'a' && c <= 'z' ? uchar(c - 'a' + 'A') : c; }

// Compares two byte strings with ASCII letters folded, unsigned, a proper beginning first.
int compareFolded(QByteArrayView a, QByteArrayView b) {
    const qsizetype n = std::min(a.size(), b.size());
    const auto* pa = reinterpret_cast<const uchar*>(a.data());
    const auto* pb = reinterpret_cast<const uchar*>(b.data());
    for (qsizetype i = 0; i < n; ++i) {
        const uchar ca = asciiUpper(pa[i]), cb = asciiUpper(pb[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Eight bytes of a folded name from an offset, as a number that sorts like them.
quint64 namePrefix(QByteArrayView key, qsizetype offset) {
    quint64 v = 0;
    for (qsizetype i = offset; i < offset + 8; ++i)
        v = (v << 8) | (i < key.size() ? asciiUpper(uchar(key[i])) : 0u);
    return v;
}

// The sort's cheap first look at a line: numbers that order like its leading fields.
struct SortEntry {
    quint64 k1 = 0, k2 = 0;
    qint32 index = 0;
    qint32 sizeRank = 0;  // the rank of the size's text, so that ties need not look it up
};

template <typename T>
int compareValues(T a, T b) {
    return a < b ? -1 : (a > b ? 1 : 0);
}

}  // namespace

// The exact bytes of the collected names and folders. The grid's records point into it, so
// the column table keeps it once the collection is done.
struct PathStorage {
    NameBlocks names;
    std::deque<Folder> folders;  // a deque: records keep the addresses of its paths
};

struct DupCollection::Impl {
    DupOptions options;
    RecordStore records;
    std::vector<QByteArray> unicodeKeys;  // by Record::unicodeKey
    std::shared_ptr<PathStorage> storage = std::make_shared<PathStorage>();
    NameBlocks& names = storage->names;
    std::deque<Folder>& folders = storage->folders;
    std::vector<Type> types;
    ExtensionTable typeOfExtension;
    StampTexts stamps;
    qint32 lastFolder = -1;
    // Content mode: the file behind each record, by record.
    struct Identity {
        dev_t device;
        ino_t inode;
    };
    std::vector<Identity> identities;
    // The other modes: the files with more than one name, by record.
    struct Linked {
        qint32 record;
        Identity identity;
    };
    std::vector<Linked> linked;

    // Set after the walk.
    std::vector<qint64> sizes;  // distinct sizes, ascending
    std::vector<QString> sizeTexts;
    std::vector<qint32> sizeRank, stampRank, folderRank, typeRank;

    // Types and stamp texts are looked up beside the walk, on a thread of their own: the walk
    // mostly waits on the file system. The walk hands records over in batches; the block list
    // and the count handed over are shared under the mutex, each record is touched by one
    // thread at a time.
    struct Describer {
        std::mutex mutex;
        std::condition_variable wake;
        size_t handedOver = 0;
        bool walkDone = false;
        std::thread thread;
    };
    static constexpr size_t kHandOver = 2048;
    Describer describer;

    explicit Impl(const DupOptions& o) : options(o) {}
    ~Impl() { describeAll(); }

    void describeBeside() {
        size_t done = 0;
        for (;;) {
            std::unique_lock<std::mutex> lock(describer.mutex);
            describer.wake.wait(lock,
                                [&] { return describer.handedOver > done || describer.walkDone; });
            const size_t upTo = describer.handedOver;
            const bool last = describer.walkDone;
            // The blocks' addresses are taken while the walk cannot add one.
            std::vector<std::pair<Record*, size_t>> runs;
            for (size_t i = done; i < upTo;) {
                const size_t n = std::min(RecordStore::toBlockEnd(i), upTo - i);
                runs.push_back({records.from(i), n});
                i += n;
            }
            lock.unlock();
            for (const auto& [first, n] : runs)
                for (size_t k = 0; k < n; ++k) describe(first[k]);
            done = upTo;
            if (last && done == describer.handedOver) return;
        }
    }

    // Called by the walk after each record.
    void handOver() {
        if (records.size() % kHandOver != 0) return;
        {
            const std::lock_guard<std::mutex> lock(describer.mutex);
            describer.handedOver = records.size();
        }
        describer.wake.notify_one();
    }

    void addRecord(Record r) {
        if (comparesContents()) {
            records.push_back(r);
            return;
        }
        if (describer.walkDone) {  // collected after the records were taken
            describe(r);
            records.push_back(r);
            return;
        }
        if (!describer.thread.joinable())
            describer.thread = std::thread([this] { describeBeside(); });
        if (records.full()) {
            const std::lock_guard<std::mutex> lock(describer.mutex);
            records.push_back(r);
        } else {
            records.push_back(r);
        }
        handOver();
    }

    // Every record collected is described once this returns; later records are described
    // as they come.
    void describeAll() {
        if (!describer.thread.joinable()) return;
        {
            const std::lock_guard<std::mutex> lock(describer.mutex);
            describer.handedOver = records.size();
            describer.walkDone = true;
        }
        describer.wake.notify_one();
        describer.thread.join();
    }

    void describe(Record& r) {
        for (const char c : r.name()) {
            if (uchar(c) >= 0x80) {
                const QByteArray name = QByteArray::fromRawData(r.nameData, r.nameSize);
                if (isValidUtf8(name)) {
                    r.unicodeKey = qint32(unicodeKeys.size());
                    unicodeKeys.push_back(foldedKey(name));
                }
                break;
            }
        }
        r.type = typeOf(r.name());
        stamps.dateIndex(r.modified);
        stamps.timeIndex(r.modified);
        stamps.dateIndex(r.accessed);
    }
    // Texts of the record's stamps and its size (described, and ranked after the walk).
    qint32 dateOf(const Record& r) const { return stamps.knownDateIndex(r.modified); }
    qint32 timeOf(const Record& r) const { return stamps.knownTimeIndex(r.modified); }
    qint32 accessOf(const Record& r) const { return stamps.knownDateIndex(r.accessed); }
    qint32 sizeIndexOf(const Record& r) const {
        return qint32(std::lower_bound(sizes.begin(), sizes.end(), r.size) - sizes.begin());
    }

    bool comparesContents() const {
        return options.mode == FinderMode::Duplicates && options.matchMode == kContentMatchMode;
    }

    QByteArrayView nameKeyOf(const Record& r) const {
        return r.unicodeKey < 0 ? r.name() : QByteArrayView(unicodeKeys[size_t(r.unicodeKey)]);
    }
    int compareNames(const Record& a, const Record& b) const {
        return compareFolded(nameKeyOf(a), nameKeyOf(b));
    }

    qint32 folderOf(const QByteArray& path) {
        if (lastFolder >= 0) {
            const QByteArray& last = folders[size_t(lastFolder)].path;
            if (last.size() == path.size() &&
                std::memcmp(last.constData(), path.constData(), size_t(path.size())) == 0)
                return lastFolder;
        }
        folders.push_back({path, {}});  // its key is made when the lines are ordered
        lastFolder = qint32(folders.size() - 1);
        return lastFolder;
    }

    qint32 typeOf(QByteArrayView name) {
        const qsizetype dot = name.lastIndexOf('.');
        const QByteArrayView extension = dot < 0 ? QByteArrayView() : name.sliced(dot);
        const quint64 hash = ExtensionTable::hashOf(extension);
        const qint32 known = typeOfExtension.find(extension, hash);
        if (known != ExtensionTable::kMissing) return known;
        types.push_back({fileTypeText(QString::fromUtf8(extension))});
        const qint32 index = qint32(types.size() - 1);
        typeOfExtension.insert(extension.toByteArray(), hash, index);
        return index;
    }

    std::vector<Field> lineFields() const {
        using F = Field;
        if (options.mode == FinderMode::FileHogs)
            return {F::Size, F::Date, F::Time, F::Access, F::Path, F::Type};
        switch (options.matchMode) {
            case 3:
            case 4:
            case 5:
            case kContentMatchMode:
                return {F::Size, F::Name, F::Date, F::Time, F::Access, F::Folder, F::Type};
            case 6:
                return {F::Type, F::Date, F::Time, F::Name, F::Size, F::Access, F::Folder};
            default:
                return {F::Name, F::Size, F::Date, F::Time, F::Access, F::Folder, F::Type};
        }
    }

    // The key of a match mode, field by field: concatenated texts could make two different
    // keys equal ("a1" of 23 bytes and "a12" of 3 bytes).
    std::vector<Field> keyFields() const {
        using F = Field;
        switch (options.matchMode) {
            case 1:
                return {F::Name, F::Size};
            case 2:
                return {F::Name, F::Size, F::Date, F::Time};
            case 3:
                return {F::Size};
            case 4:
                return {F::Size, F::Date, F::Time};
            case 5:
                return {F::Size, F::Type};
            case 6:
                return {F::Type, F::Date, F::Time};
            default:
                return {F::Name};
        }
    }

    int compareField(Field f, const Record& a, const Record& b) const {
        switch (f) {
            case Field::Name:
                return compareNames(a, b);
            case Field::Size:
                if (a.size == b.size) return 0;
                return compareValues(sizeRank[size_t(sizeIndexOf(a))],
                                     sizeRank[size_t(sizeIndexOf(b))]);
            case Field::Date:
                return compareValues(stampRank[size_t(dateOf(a))], stampRank[size_t(dateOf(b))]);
            case Field::Time:
                return compareValues(stampRank[size_t(timeOf(a))], stampRank[size_t(timeOf(b))]);
            case Field::Access:
                return compareValues(stampRank[size_t(accessOf(a))],
                                     stampRank[size_t(accessOf(b))]);
            case Field::Folder:
                return compareValues(folderRank[size_t(a.folder)], folderRank[size_t(b.folder)]);
            case Field::Type:
                return compareValues(typeRank[size_t(a.type)], typeRank[size_t(b.type)]);
            case Field::Path: {
                const Folder& fa = folders[size_t(a.folder)];
                const Folder& fb = folders[size_t(b.folder)];
                const QByteArrayView sa = fa.path.endsWith('/') ? QByteArrayView() : "/";
                const QByteArrayView sb = fb.path.endsWith('/') ? QByteArrayView() : "/";
                const QByteArray ka = foldedKey(nameKeyOf(a).toByteArray());
                const QByteArray kb = foldedKey(nameKeyOf(b).toByteArray());
                return compareJoined({fa.key, sa, ka}, {fb.key, sb, kb});
            }
        }
        return 0;
    }

    // Ranks of the field values in the order of their texts.
    void rankFields() {
        // The sizes on a thread of their own: they are the most texts to make.
        std::thread sizesThread([this] { rankSizes(); });
        rankStampsFoldersTypes();
        sizesThread.join();
    }

    void rankSizes() {
        std::vector<qint64> distinct;
        distinct.reserve(records.size());
        for (size_t i = 0; i < records.size(); ++i) distinct.push_back(records[i].size);
        std::sort(distinct.begin(), distinct.end());
        distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
        sizes = std::move(distinct);
        sizeTexts.clear();
        sizeTexts.reserve(sizes.size());
        for (const qint64 s : sizes) sizeTexts.push_back(thousandsText(s));
        sizeRank = rankTexts(sizeTexts);
    }

    void rankStampsFoldersTypes() {
        std::vector<QString> stampTexts;
        stampTexts.reserve(stamps.size());
        for (size_t i = 0; i < stamps.size(); ++i) stampTexts.push_back(stamps.text(int(i)));
        stampRank = rankTexts(stampTexts);

        std::vector<QByteArray> folderKeys;
        folderKeys.reserve(folders.size());
        for (Folder& f : folders) {
            f.key = foldedKey(f.path);
            folderKeys.push_back(f.key);
        }
        folderRank = rankKeys(folderKeys);

        std::vector<QString> typeTexts;
        typeTexts.reserve(types.size());
        for (const Type& t : types) typeTexts.push_back(t.text);
        typeRank = rankTexts(typeTexts);
    }

    // The leading fields of a line as two numbers; lines whose numbers tie are compared field
    // by field. Stamp ranks take 20 bits: dates and times have fewer distinct texts.
    SortEntry entryOf(qint32 index, bool packStamps) const {
        const Record& r = records[size_t(index)];
        SortEntry e;
        e.index = index;
        e.sizeRank = sizeRank[size_t(sizeIndexOf(r))];
        const quint64 sizeR = quint64(e.sizeRank);
        const quint64 dateR = quint64(stampRank[size_t(dateOf(r))]);
        const quint64 timeR = quint64(stampRank[size_t(timeOf(r))]);
        const quint64 accessR = quint64(stampRank[size_t(accessOf(r))]);
        const quint64 typeR = quint64(typeRank[size_t(r.type)]);
        if (options.mode == FinderMode::FileHogs) {
            if (!packStamps) return e;
            e.k1 = sizeR << 20 | dateR;
            e.k2 = timeR << 20 | accessR;
            return e;
        }
        switch (options.matchMode) {
            case 3:
            case 4:
            case 5:
            case kContentMatchMode:
                e.k1 = sizeR;
                e.k2 = namePrefix(nameKeyOf(r), 0);
                break;
            case 6:
                if (!packStamps) return e;
                e.k1 = typeR << 40 | dateR << 20 | timeR;
                e.k2 = namePrefix(nameKeyOf(r), 0);
                break;
            default:
                e.k1 = namePrefix(nameKeyOf(r), 0);
                e.k2 = namePrefix(nameKeyOf(r), 8);
                break;
        }
        return e;
    }

    // The collection (or the records listed) in the order of its lines.
    // keyChanges: set for each line whose leading numbers alone show that its match key
    // differs from the line before, so that most neighbours need not be compared field by field.
    std::vector<qint32> sortedOrder(const std::vector<qint32>* only = nullptr,
                                    std::vector<bool>* keyChanges = nullptr) const {
        const std::vector<Field> fields = lineFields();
        const bool packStamps =
            stamps.size() < (size_t(1) << 20) && types.size() < (size_t(1) << 24);
        std::vector<SortEntry> entries(only ? only->size() : records.size());
        parallelFor(entries.size(), 50'000, [&](size_t from, size_t to) {
            for (size_t k = from; k < to; ++k)
                entries[k] = entryOf(only ? (*only)[k] : qint32(k), packStamps);
        });
        // Every pair of lines is ordered (the index decides last), so the order is one.
        parallelSort(entries.begin(), entries.end(), [&](const SortEntry& x, const SortEntry& y) {
            if (x.k1 != y.k1) return x.k1 < y.k1;
            if (x.k2 != y.k2) return x.k2 < y.k2;
            const Record& a = records[size_t(x.index)];
            const Record& b = records[size_t(y.index)];
            for (const Field f : fields) {
                const int c = f == Field::Size ? compareValues(x.sizeRank, y.sizeRank)
                                               : compareField(f, a, b);
                if (c != 0) return c < 0;
            }
            // Lines that read the same: a fixed order all the same.
            if (const int c = compareBytes(a.name(), b.name())) return c < 0;
            return x.index < y.index;
        });
        if (keyChanges) {
            // The name modes' numbers are the start of the folded name, which the key begins
            // with; in the others the first number orders the key's leading fields.
            const bool byName = options.matchMode <= 2;
            const bool packed = byName || options.matchMode != 6 || packStamps;
            keyChanges->assign(entries.size(), false);
            for (size_t k = 1; k < entries.size() && packed; ++k)
                (*keyChanges)[k] = entries[k].k1 != entries[k - 1].k1 ||
                                   (byName && entries[k].k2 != entries[k - 1].k2);
        }
        std::vector<qint32> order;
        order.reserve(entries.size());
        for (const SortEntry& e : entries) order.push_back(e.index);
        return order;
    }

    bool sameKey(const std::vector<Field>& key, const Record& a, const Record& b) const {
        for (const Field f : key)
            if (compareField(f, a, b) != 0) return false;
        return true;
    }

    ResultRecord recordOf(const Record& r) const {
        ResultRecord out;
        out.setStoredPath(folders[size_t(r.folder)].path, r.name());
        out.size = r.size;
        out.modified = r.modified;
        out.accessed = r.accessed;
        out.type = r.type;
        return out;
    }

    // Two neighbouring rows share a shade when they agree in the columns of their match mode.
    bool sameShadeGroup(const Record& a, const Record& b) const {
        switch (options.matchMode) {
            case 0:
            case 1:
            case 2:
                return compareNames(a, b) == 0;
            case 3:
            case 4:
            case 5:
                return a.size == b.size;
            default:
                return types[size_t(a.type)].text == types[size_t(b.type)].text &&
                       stamps.text(timeOf(a)) == stamps.text(timeOf(b));
        }
    }

    // The grid's records, in grid order, of the records listed. They are made in the order of
    // the collection, whose blocks go as soon as they are passed, and then moved into grid
    // order: a whole disk's records are never held twice over.
    std::vector<ResultRecord> makeRecords(const std::vector<qint32>& listed,
                                          const std::vector<GridShade>& shades) {
        std::vector<qint32> rowOf(records.size(), -1);
        for (size_t k = 0; k < listed.size(); ++k) rowOf[size_t(listed[k])] = qint32(k);
        std::vector<ResultRecord> out;
        out.reserve(listed.size());
        std::vector<qint32> rowOfMade;  // the grid row of out[j]
        rowOfMade.reserve(listed.size());
        for (size_t i = 0; i < records.size(); ++i) {
            const qint32 row = rowOf[i];
            if (row < 0) continue;
            out.push_back(recordOf(records[i]));
            if (!shades.empty()) out.back().shade = shades[size_t(row)];
            rowOfMade.push_back(row);
            records.releaseBefore(i);
        }
        records = RecordStore();
        // Each cycle of the permutation is followed once; a record in its row says so.
        for (size_t j = 0; j < out.size(); ++j) {
            while (rowOfMade[j] != qint32(j)) {
                const size_t to = size_t(rowOfMade[j]);
                std::swap(out[j], out[to]);
                std::swap(rowOfMade[j], rowOfMade[to]);
            }
        }
        markSharedFiles(rowOf, out);
        return out;
    }

    // The texts and ranks that ordered the lines: the grid's column table makes the texts of
    // the cells it draws, so the texts of a whole disk's stamps and sizes need not stay.
    void releaseSortTexts() {
        stamps = StampTexts();
        sizeTexts = {};
        sizeRank = stampRank = folderRank = typeRank = {};
        sizes = {};
        unicodeKeys = {};
        for (Folder& f : folders) f.key = QByteArray();
        releaseFreeMemory();
    }

    // The grid's records; the collection's own records go as they are made.
    std::vector<ResultRecord> finish(const std::vector<qint32>& listed,
                                     const std::vector<GridShade>& shades) {
        std::vector<ResultRecord> out = makeRecords(listed, shades);
        identities = {};
        linked = {};
        return out;
    }

    // Rows that are names of one file (same device and inode) say so. rowOf: the grid row
    // of each record (-1: not listed).
    void markSharedFiles(const std::vector<qint32>& rowOf, std::vector<ResultRecord>& out) const {
        if (linked.size() < 2) return;
        std::vector<std::pair<std::pair<dev_t, ino_t>, qint32>> shown;
        for (const Linked& l : linked)
            if (const qint32 row = rowOf[size_t(l.record)]; row >= 0)
                shown.push_back({{l.identity.device, l.identity.inode}, row});
        std::sort(shown.begin(), shown.end());
        for (size_t k = 1; k < shown.size(); ++k)
            if (shown[k].first == shown[k - 1].first)
                out[size_t(shown[k].second)].sharesFile =
                    out[size_t(shown[k - 1].second)].sharesFile = true;
    }

    // Content mode: the groups of equal bytes among the records. Files of a size no other
    // file has are handed over without their name: they cannot be in a group.
    std::vector<ResultRecord> contentRecords(StopToken& stop, std::vector<QByteArrayList>& links,
                                             ContentGroupResult& counts) {
        std::vector<std::pair<qint64, qint32>> bySize;
        bySize.reserve(records.size());
        for (size_t i = 0; i < records.size(); ++i) bySize.push_back({records[i].size, qint32(i)});
        std::sort(bySize.begin(), bySize.end());
        std::vector<bool> shared(records.size());
        for (size_t k = 0; k < bySize.size(); ++k)
            shared[size_t(bySize[k].second)] =
                bySize[k].first > 0 &&
                ((k > 0 && bySize[k - 1].first == bySize[k].first) ||
                 (k + 1 < bySize.size() && bySize[k + 1].first == bySize[k].first));
        // The paths are joined as the files are opened, from the collection's own bytes.
        std::vector<ContentFile> files(records.size());
        for (size_t k = 0; k < records.size(); ++k) {
            const Record& r = records[k];
            if (!shared[k]) continue;
            ContentFile& f = files[k];
            f.folder = folders[size_t(r.folder)].path;
            f.name = r.name();
            f.size = r.size;
            f.device = identities[k].device;
            f.inode = identities[k].inode;
        }
        ContentGroupOptions contentOptions;
        contentOptions.progress = options.contentProgress;
        counts = findContentGroups(files, contentOptions, stop);

        std::vector<qint32> groupOf(records.size(), -1);
        std::vector<const ContentMember*> memberOf(records.size(), nullptr);
        std::vector<qint32> grouped;
        for (size_t g = 0; g < counts.groups.size(); ++g)
            for (const ContentMember& m : counts.groups[g].members) {
                groupOf[size_t(m.file)] = qint32(g);
                memberOf[size_t(m.file)] = &m;
                grouped.push_back(m.file);
            }
        if (grouped.empty()) return {};
        for (const qint32 i : grouped) describe(records[size_t(i)]);
        rankFields();
        std::vector<std::vector<qint32>> rowsOf(counts.groups.size());
        std::vector<qint32> groupOrder;
        for (const qint32 i : sortedOrder(&grouped)) {
            std::vector<qint32>& rows = rowsOf[size_t(groupOf[size_t(i)])];
            if (rows.empty()) groupOrder.push_back(groupOf[size_t(i)]);
            rows.push_back(i);
        }
        std::vector<qint32> listed;
        std::vector<GridShade> shades;
        listed.reserve(grouped.size());
        shades.reserve(grouped.size());
        links.assign(grouped.size(), {});
        GridShade shade = GridShade::B;
        for (const qint32 g : groupOrder) {
            shade = shade == GridShade::A ? GridShade::B : GridShade::A;
            for (const qint32 i : rowsOf[size_t(g)]) {
                for (const qint32 l : memberOf[size_t(i)]->links) {
                    const Record& r = records[size_t(l)];
                    links[listed.size()]
                        << joinPath(folders[size_t(r.folder)].path,
                                    QByteArray::fromRawData(r.nameData, r.nameSize));
                }
                listed.push_back(i);
                shades.push_back(shade);
            }
        }
        counts.groups.clear();
        releaseSortTexts();
        return finish(listed, shades);
    }

    std::vector<ResultRecord> gridRecords() {
        if (records.empty()) return {};
        rankFields();
        std::vector<bool> keyChanges;
        std::vector<qint32> order =
            sortedOrder(nullptr, options.mode == FinderMode::FileHogs ? nullptr : &keyChanges);
        if (options.mode == FinderMode::FileHogs) {
            std::reverse(order.begin(), order.end());
            releaseSortTexts();
            return finish(order, {});
        }

        std::vector<qint32> listed;
        std::vector<GridShade> shades;
        const std::vector<Field> key = keyFields();
        const Record* previous = nullptr;
        GridShade shade = GridShade::A;
        const auto add = [&](qint32 index) {
            const Record& r = records[size_t(index)];
            if (previous && !sameShadeGroup(r, *previous))
                shade = shade == GridShade::A ? GridShade::B : GridShade::A;
            listed.push_back(index);
            shades.push_back(shade);
            previous = &r;
        };
        const size_t n = order.size();
        size_t k = 0;
        while (k + 1 < n) {
            const Record& first = records[size_t(order[k])];
            size_t i = k + 1;
            while (i < n && !keyChanges[i] && sameKey(key, records[size_t(order[i])], first)) {
                if (i == k + 1) add(order[k]);
                add(order[i]);
                ++i;
            }
            k = i;
        }
        order = {};
        releaseSortTexts();
        return finish(listed, shades);
    }
};

DupCollection::DupCollection(const DupOptions& options) : d(std::make_unique<Impl>(options)) {}

DupCollection::~DupCollection() = default;

bool DupCollection::accepts(const WalkFile& file) {
    return d->options.size.passes(file.entry.size);
}

void DupCollection::collect(const WalkFile& file) {
    const DirEntry& e = file.entry;
    Record r;
    r.nameData = d->names.add(e.name).data();
    r.nameSize = quint16(std::min<qsizetype>(e.name.size(), 0xFFFF));
    r.size = e.size;
    r.folder = d->folderOf(file.folder);
    r.modified = e.lastWrite;
    r.accessed = e.lastAccess;
    if (d->comparesContents()) {
        // Types and stamp texts only for the files that end up in a group: most never do.
        d->identities.push_back({e.device, e.inode});
    } else if (e.links > 1) {
        d->linked.push_back({qint32(d->records.size()), {e.device, e.inode}});
    }
    d->addRecord(r);
}

qint64 DupCollection::count() const { return qint64(d->records.size()); }

void DupCollection::clear() { d = std::make_unique<Impl>(d->options); }

DupRecords DupCollection::takeRecords(StopToken* stop) {
    d->describeAll();
    DupRecords found;
    if (d->comparesContents()) {
        StopToken never;
        found.records = d->contentRecords(stop ? *stop : never, found.links, found.content);
    } else {
        found.records = d->gridRecords();
    }
    // The column table takes over the texts the scan made: the grid shows the same texts.
    std::vector<QString> typeTexts;
    typeTexts.reserve(d->types.size());
    for (Type& t : d->types) typeTexts.push_back(std::move(t.text));
    auto columns =
        std::make_shared<DupColumns>(d->options.mode, std::move(d->stamps), std::move(typeTexts));
    columns->keepPaths(d->storage);
    found.columns = std::move(columns);
    clear();
    return found;
}

void sortLargestFirst(GridModel& grid) { sortGridByNumber(grid, 0, grid.rowCount() - 1, true, 0); }

DupRun runDupFinder(const std::vector<ScanTarget>& targets, const QByteArray& pattern,
                    const DupOptions& options, WalkProgress& progress, StopToken& abort) {
    WalkOptions walkOptions;
    walkOptions.pattern = pattern;
    walkOptions.sliceMs = 0;
    DupCollection collection(options);
    TreeWalk walk(walkOptions, collection, progress, abort);
    walk.scanTargets(targets);
    DupRun run;
    run.summary = walk.summary();
    // A full collection stops the walk through the token; what it holds is still compared.
    StopToken afterFull;
    DupRecords found = collection.takeRecords(run.summary.full ? &afterFull : &abort);
    run.columns = found.columns;
    run.records = std::move(found.records);
    run.links = std::move(found.links);
    run.content = std::move(found.content);
    if (options.mode == FinderMode::FileHogs && run.records.size() > 1) {
        GridModel grid(fileHogHeaders());
        grid.setRecords(run.columns, std::move(run.records));
        sortLargestFirst(grid);
        run.records = grid.takeRecords();
    }
    return run;
}

}  // namespace vastel
