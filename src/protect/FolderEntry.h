#pragma once

#include <QByteArray>
#include <QByteArrayList>

namespace vastel {

// Folder entries of the Safe Harbor are path bytes: a folder with a trailing "/", optionally
// followed by the tree marker "*.*" that extends the entry to every folder below it. Entries and
// tested folders are compared without regard to ASCII letter case; other bytes (UTF-8 or not)
// compare as they are.

// The tree marker.
inline constexpr char kTreeMarker[] = "*.*";

// ASCII letters to upper case; every other byte stays as it is.
QByteArray asciiUpper(QByteArray text);

// A total order: bytes compared unsigned after folding a-z to A-Z; a prefix sorts first.
int compareNoCase(const char* a, qsizetype aSize, const char* b, qsizetype bSize);
inline int compareNoCase(const QByteArray& a, const QByteArray& b) {
    return compareNoCase(a.constData(), a.size(), b.constData(), b.size());
}
bool equalNoCase(const QByteArray& a, const QByteArray& b);
bool startsWithNoCase(const QByteArray& text, const QByteArray& prefix);

// A tree entry ends with the marker; a plain entry ends with "/".
bool isTreeEntry(const QByteArray& entry);
// A tree entry without its marker; a plain entry as it is.
QByteArray entryStem(const QByteArray& entry);

// The lexical form of a folder: "\" read as "/", repeated "/" and "." parts dropped, ".." taken
// back against the part before it, and a trailing "/". No link is resolved. An empty text stays
// empty; a relative folder stays relative.
QByteArray normalisedFolder(const QByteArray& folder);
// The same for an entry. A tree entry keeps its marker; its stem keeps a partial last name
// ("/opt/app*.*" also covers "/opt/app2/"), as the user typed it.
QByteArray normalisedEntry(const QByteArray& entry);

// The platform's short form of a path; this platform has none, so the path itself.
QByteArray shortFolderName(const QByteArray& path);

// Folder F against entry E (both upper case in the launcher's lists): 0 when F is E's folder,
// or for a tree entry when F lies in or below the stem's folder; otherwise the order of F
// against E's stem. The same order sorts FolderList, so that a binary search finds every entry.
int compareFolderEntry(const QByteArray& folder, const QByteArray& entry);

// Sorts entries ascending without regard to case (stable).
void sortFolderEntries(QByteArrayList& list);

// Removes every entry that a tree entry covers, keeps the tree entries (also one below another)
// and sorts the list.
void mergeSubfolderEntries(QByteArrayList& list);

}  // namespace vastel
