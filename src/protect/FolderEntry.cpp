#include "protect/FolderEntry.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vastel {

namespace {

constexpr std::array<unsigned char, 256> makeFoldTable() {
    std::array<unsigned char, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = (i >= 'a' && i <= 'z') ? i - 'a' + 'A' : i;
    return t;
}
constexpr std::array<unsigned char, 256> kFold = makeFoldTable();

constexpr qsizetype kMarkerSize = 3;

}  // namespace

QByteArray asciiUpper(QByteArray text) {
    char* p = text.data();
    for (qsizetype i = 0, n = text.size(); i < n; ++i) p[i] = char(kFold[(unsigned char)p[i]]);
    return text;
}

int compareNoCase(const char* a, qsizetype aSize, const char* b, qsizetype bSize) {
    const qsizetype n = std::min(aSize, bSize);
    const auto* ua = reinterpret_cast<const unsigned char*>(a);
    const auto* ub = reinterpret_cast<const unsigned char*>(b);
    for (qsizetype i = 0; i < n; ++i) {
        const int d = int(kFold[ua[i]]) - int(kFold[ub[i]]);
        if (d != 0) return d;
    }
    return aSize < bSize ? -1 : (aSize > bSize ? 1 : 0);
}

bool equalNoCase(const QByteArray& a, const QByteArray& b) {
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

bool startsWithNoCase(const QByteArray& text, const QByteArray& prefix) {
    return text.size() >= prefix.size() &&
           compareNoCase(text.constData(), prefix.size(), prefix.constData(), prefix.size()) == 0;
}

bool isTreeEntry(const QByteArray& entry) { return entry.endsWith(kTreeMarker); }

QByteArray entryStem(const QByteArray& entry) {
    return isTreeEntry(entry) ? entry.left(entry.size() - kMarkerSize) : entry;
}

namespace {
// Already in lexical form: ends with "/", no "\\", no empty, "." or ".." part.
bool isNormalFolder(const QByteArray& folder) {
    const qsizetype n = folder.size();
    if (n == 0 || folder[n - 1] != '/' || folder[0] == '.' || folder.contains('\\')) return false;
    const char* p = folder.constData();
    for (qsizetype i = 0; i < n; ++i) {
        if (p[i] != '/') continue;
        const qsizetype next = i + 1;
        if (next < n && p[next] == '/') return false;
        if (next < n && p[next] == '.') {
            const qsizetype after = p[next + 1] == '.' ? next + 2 : next + 1;
            if (after < n && p[after] == '/') return false;
        }
    }
    return true;
}
}  // namespace

QByteArray normalisedFolder(const QByteArray& folder) {
    if (folder.isEmpty() || isNormalFolder(folder)) return folder;
    QByteArray text = folder;
    text.replace('\\', '/');
    const bool absolute = text.startsWith('/');
    QByteArrayList parts;
    for (const QByteArray& part : text.split('/')) {
        if (part.isEmpty() || part == ".") continue;
        if (part == "..") {
            if (!parts.isEmpty() && parts.last() != "..") {
                parts.removeLast();
                continue;
            }
            if (absolute) continue;  // above the root is the root
        }
        parts.append(part);
    }
    QByteArray out = absolute ? QByteArray("/") : QByteArray();
    for (const QByteArray& part : parts) {
        out += part;
        out += '/';
    }
    // A relative "." or "a/.." is the current folder.
    if (out.isEmpty()) out = "./";
    return out;
}

QByteArray normalisedEntry(const QByteArray& entry) {
    if (!isTreeEntry(entry)) return normalisedFolder(entry);
    QByteArray stem = entryStem(entry);
    stem.replace('\\', '/');
    if (stem.isEmpty()) return entry;  // a bare marker covers everything; keep it so
    if (stem.endsWith('/')) return normalisedFolder(stem) + kTreeMarker;
    // A partial last name ("/opt/app*.*") stays partial; its folder part is normalised.
    const qsizetype slash = stem.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray() : normalisedFolder(stem.left(slash + 1));
    return folder + stem.mid(slash + 1) + kTreeMarker;
}

QByteArray shortFolderName(const QByteArray& path) { return path; }

int compareFolderEntry(const QByteArray& folder, const QByteArray& entry) {
    if (isTreeEntry(entry)) {
        const qsizetype stemSize = entry.size() - kMarkerSize;
        // The stem as a prefix, not anywhere inside: on this platform "/opt/app/" also occurs
        // inside "/home/ann/opt/app/", which lies elsewhere.
        if (folder.size() >= stemSize &&
            compareNoCase(folder.constData(), stemSize, entry.constData(), stemSize) == 0)
            return 0;
        return compareNoCase(folder.constData(), folder.size(), entry.constData(), stemSize);
    }
    return compareNoCase(folder, entry);
}

void sortFolderEntries(QByteArrayList& list) {
    std::stable_sort(list.begin(), list.end(), [](const QByteArray& a, const QByteArray& b) {
        return compareNoCase(a, b) < 0;
    });
}

void mergeSubfolderEntries(QByteArrayList& list) {
    QByteArrayList trees;
    for (const QByteArray& e : list)
        if (isTreeEntry(e)) trees.append(e);
    for (const QByteArray& tree : trees) {
        const QByteArray stem = entryStem(tree);
        for (qsizetype i = list.size() - 1; i >= 0; --i)
            if (startsWithNoCase(list[i], stem)) list.removeAt(i);
    }
    list.append(trees);
    sortFolderEntries(list);
}

}  // namespace vastel
