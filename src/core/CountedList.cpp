#include "core/CountedList.h"

#include "platform/NativePath.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace vastel {

namespace {

const QString kNumber = QStringLiteral("Number");

// The number k of a key "File<k>" (any case, no leading zeros), or 0 for other keys.
int entryNumber(const QByteArray& key) {
    if (key.size() < 5 || key.size() > 14 || qstrnicmp(key.constData(), "File", 4) != 0) return 0;
    if (key[4] == '0') return 0;
    qint64 k = 0;
    for (qsizetype i = 4; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9') return 0;
        k = k * 10 + (key[i] - '0');
    }
    return k > std::numeric_limits<int>::max() ? 0 : int(k);
}

// Reads entries 1..N. N comes from "Number"; -1 (absent or unreadable) means the defaults.
template <typename Accept>
QByteArrayList readEntries(const SettingsStore& store, const QString& section, bool* useDefaults,
                           Accept accept) {
    *useDefaults = false;
    const int number = store.readInteger(section, kNumber, -1);
    if (number == -1) {
        *useDefaults = true;
        return {};
    }
    QByteArrayList list;
    const IniFile::Section* s = store.file().section(section.toUtf8());
    if (number <= 0 || !s) return list;

    // Only the keys actually present are visited, in number order: a huge or damaged "Number"
    // (or a stray "File2000000000") costs nothing, and absent keys read as empty anyway.
    std::vector<std::pair<int, const QByteArray*>> present;
    for (const IniFile::Entry& e : s->entries) {
        const int k = entryNumber(e.key);
        if (k > 0 && k <= number) present.emplace_back(k, &e.value);
    }
    std::sort(present.begin(), present.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& item : present)
        if (!item.second->isEmpty() && accept(*item.second)) list.append(*item.second);
    return list;
}

}  // namespace

QByteArrayList readCountedBytes(const SettingsStore& store, const QString& section,
                                const QByteArrayList& defaults) {
    bool useDefaults = false;
    QByteArrayList list =
        readEntries(store, section, &useDefaults, [](const QByteArray&) { return true; });
    return useDefaults ? defaults : list;
}

QStringList readCountedList(const SettingsStore& store, const QString& section,
                            const QStringList& defaults) {
    bool useDefaults = false;
    // An entry that is not valid UTF-8 reads like an empty one: it is skipped.
    const QByteArrayList bytes = readEntries(store, section, &useDefaults, isValidUtf8);
    if (useDefaults) return defaults;
    QStringList list;
    list.reserve(bytes.size());
    for (const QByteArray& b : bytes) list.append(QString::fromUtf8(b));
    return list;
}

void writeCountedBytes(SettingsStore& store, const QString& section, const QByteArrayList& list) {
    store.writeInteger(section, kNumber, int(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i)
        store.writeBytes(section, QStringLiteral("File%1").arg(i + 1), list[i]);
}

void writeCountedList(SettingsStore& store, const QString& section, const QStringList& list) {
    store.writeInteger(section, kNumber, int(list.size()));
    for (qsizetype i = 0; i < list.size(); ++i)
        store.writeString(section, QStringLiteral("File%1").arg(i + 1), list[i]);
}

QString patternOfDisplayEntry(const QString& entry) {
    const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
    return tab < 0 ? entry : entry.left(tab);
}

}  // namespace vastel
