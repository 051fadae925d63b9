#include "protect/FolderList.h"

#include "protect/FolderEntry.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace vastel {

namespace {
quint64 nextGeneration() {
    static std::atomic<quint64> counter{0};
    return ++counter;
}

// Entries are held folded to upper case, so plain byte order is the order of compareNoCase.
inline int compareBytes(const char* a, qsizetype aSize, const char* b, qsizetype bSize) {
    const int c = std::memcmp(a, b, size_t(std::min(aSize, bSize)));
    if (c != 0) return c;
    return aSize < bSize ? -1 : (aSize > bSize ? 1 : 0);
}

bool hasLowerCase(const QByteArray& text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= 'a' && c <= 'z'; });
}

qsizetype keySizeOf(const QByteArray& entry) {
    return isTreeEntry(entry) ? entry.size() - 3 : entry.size();
}

// By stem, then by the whole entry: a plain entry before the tree entry of the same folder.
bool entryLess(const QByteArray& a, const QByteArray& b) {
    const int byKey = compareBytes(a.constData(), keySizeOf(a), b.constData(), keySizeOf(b));
    if (byKey != 0) return byKey < 0;
    return compareBytes(a.constData(), a.size(), b.constData(), b.size()) < 0;
}
}  // namespace

void FolderList::assign(const QByteArrayList& entries) {
    std::vector<QByteArray> sorted;
    sorted.reserve(size_t(entries.size()));
    for (const QByteArray& e : entries) sorted.push_back(asciiUpper(e));
    std::sort(sorted.begin(), sorted.end(), entryLess);
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    pack(sorted);
}

void FolderList::clear() {
    std::vector<QByteArray> none;
    pack(none);
}

bool FolderList::add(const QByteArray& entry) {
    if (contains(entry)) return false;
    std::vector<QByteArray> sorted;
    sorted.reserve(items_.size() + 1);
    for (const Item& item : items_) sorted.emplace_back(data(item), qsizetype(item.size));
    const QByteArray upper = asciiUpper(entry);
    sorted.insert(std::upper_bound(sorted.begin(), sorted.end(), upper, entryLess), upper);
    pack(sorted);
    return true;
}

QByteArray FolderList::at(qsizetype i) const {
    const Item& item = items_[size_t(i)];
    return QByteArray(data(item), qsizetype(item.size));
}

QByteArrayList FolderList::entries() const {
    QByteArrayList out;
    out.reserve(qsizetype(items_.size()));
    for (const Item& item : items_) out.append(QByteArray(data(item), qsizetype(item.size)));
    return out;
}

bool FolderList::contains(const QByteArray& entry) const {
    const QByteArray upper = asciiUpper(entry);
    const auto at = std::lower_bound(
        items_.begin(), items_.end(), upper, [this](const Item& item, const QByteArray& probe) {
            return entryLess(QByteArray::fromRawData(data(item), qsizetype(item.size)), probe);
        });
    return at != items_.end() && at->size == quint32(upper.size()) &&
           std::memcmp(data(*at), upper.constData(), at->size) == 0;
}

void FolderList::pack(std::vector<QByteArray>& sorted) {
    items_.clear();
    items_.reserve(sorted.size());
    qsizetype total = 0;
    for (const QByteArray& e : sorted) total += e.size();
    bytes_.clear();
    bytes_.reserve(total);
    // The tree entries whose stems begin the current entry's stem form a chain; sorted by stem,
    // the entries that a stem begins follow it without a gap, so a stack holds the chain.
    std::vector<int> chain;
    for (const QByteArray& e : sorted) {
        Item item;
        item.offset = quint32(bytes_.size());
        item.size = quint32(e.size());
        item.tree = isTreeEntry(e);
        item.keySize = quint32(keySizeOf(e));
        bytes_.append(e);
        while (!chain.empty()) {
            const Item& top = items_[size_t(chain.back())];
            if (item.keySize >= top.keySize &&
                std::memcmp(e.constData(), data(top), top.keySize) == 0)
                break;
            chain.pop_back();
        }
        item.enclosing = chain.empty() ? -1 : chain.back();
        if (item.tree) chain.push_back(int(items_.size()));
        items_.push_back(item);
    }
    generation_ = nextGeneration();
}

int FolderList::find(const QByteArray& folder) const {
    // The lists hold upper case; a folder in another case is folded once, here.
    QByteArray folded;
    const char* f = folder.constData();
    if (hasLowerCase(folder)) {
        folded = asciiUpper(folder);
        f = folded.constData();
    }
    const qsizetype fSize = folder.size();
    auto stemBegins = [&](const Item& item) {
        return fSize >= qsizetype(item.keySize) && std::memcmp(f, data(item), item.keySize) == 0;
    };
    // Every entry between the bounds shares with the folder the shorter of the prefixes that
    // the bounds share with it, so each comparison starts there and the search reads each
    // byte of the folder about once.
    int low = 0, high = int(items_.size()) - 1;
    qsizetype lcpLow = 0, lcpHigh = 0;
    while (low <= high) {
        const int mid = (low + high) / 2;
        const Item& item = items_[size_t(mid)];
        const char* key = data(item);
        const qsizetype keySize = item.keySize;
        const qsizetype common = std::min(fSize, keySize);
        qsizetype i = std::min(lcpLow, lcpHigh);
        while (i < common && f[i] == key[i]) ++i;
        // A plain entry equal to the folder, or a tree entry whose stem begins it.
        if (i == keySize && (item.tree || fSize == keySize)) return mid;
        const bool before = i == common ? fSize < keySize : uchar(f[i]) < uchar(key[i]);
        if (before) {
            high = mid - 1;
            lcpHigh = i;
        } else {
            low = mid + 1;
            lcpLow = i;
        }
    }
    // Not met on the way: a tree entry whose stem begins the folder can still lie before the
    // entries below it that the search passed; it is in the chain of the entry just before.
    if (low == 0) return -1;
    int i = low - 1;
    if (!items_[size_t(i)].tree) i = items_[size_t(i)].enclosing;
    for (; i >= 0; i = items_[size_t(i)].enclosing)
        if (stemBegins(items_[size_t(i)])) return i;
    return -1;
}

int findInFolderList(const QByteArray& folder, const FolderList& list) { return list.find(folder); }

}  // namespace vastel
