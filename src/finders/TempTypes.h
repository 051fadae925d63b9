#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QStringList>
#include <vector>

namespace vastel {

// The quick clean's own list of temporary types, used while "TempFiles" was never saved.
const QStringList& quickCleanBuiltInTypes();  // thirteen patterns
// The type list's rows ("*.tmp" TAB description), sorted: the saved "TempFiles" list, or the
// built-in types when it was never saved. Nothing is written.
QStringList readQuickCleanTypes();

// A file name's extension: from its last "." to the end, A to Z in lower case; empty without a
// dot. (On this system a name holds no folder separator, so nothing can follow the dot but
// the name's own characters.)
QByteArray tempExtension(QByteArrayView name);

// The temporary-file test over the selected entries of the type list. An entry's key is its
// text from the second character up to its first TAB, in lower case ("*.tmp" gives ".tmp"); a
// file is temporary when its extension equals a key character for character. There is no
// wildcard matching: "*.~*" matches only the extension ".~*".
class TempTypes {
  public:
    explicit TempTypes(const QStringList& selectedEntries);
    bool empty() const { return keys_.empty(); }
    bool isThisFileTemporary(QByteArrayView name) const;
    // A wildcard pattern that every temporary name matches, so the walk looks only at names
    // that may be temporary ("*.*" when no narrower one is safe).
    QByteArray namePattern() const;

  private:
    std::vector<QByteArray> keys_;
};

}  // namespace vastel
