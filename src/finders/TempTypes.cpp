#include "finders/TempTypes.h"

#include "protect/FileTypeRows.h"

#include <algorithm>

namespace vastel {

namespace {

void asciiLower(QByteArray& bytes) {
    for (char& c : bytes)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
}

}  // namespace

const QStringList& quickCleanBuiltInTypes() {
    static const QStringList types{
        QStringLiteral("*.bak"), QStringLiteral("*.chk"), QStringLiteral("*.da0"),
        QStringLiteral("*.db$"), QStringLiteral("*.ftg"), QStringLiteral("*.fts"),
        QStringLiteral("*.gid"), QStringLiteral("*.old"), QStringLiteral("*.tmp"),
        QStringLiteral("*.$$$"), QStringLiteral("*.---"), QStringLiteral("*.~mp"),
        QStringLiteral("*.~*")};
    return types;
}

QStringList readQuickCleanTypes() {
    return readTypeRows(kTemporaryTypesSection, quickCleanBuiltInTypes());
}

QByteArray tempExtension(QByteArrayView name) {
    const qsizetype dot = name.lastIndexOf('.');
    if (dot < 0) return QByteArray();
    QByteArray extension = name.sliced(dot).toByteArray();
    asciiLower(extension);
    return extension;
}

TempTypes::TempTypes(const QStringList& selectedEntries) {
    for (const QString& entry : selectedEntries) {
        const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
        QByteArray key = entry.mid(1, tab < 0 ? -1 : tab - 1).toUtf8();
        asciiLower(key);
        if (std::find(keys_.begin(), keys_.end(), key) == keys_.end()) keys_.push_back(key);
    }
}

bool TempTypes::isThisFileTemporary(QByteArrayView name) const {
    if (keys_.empty()) return false;
    const QByteArray extension = tempExtension(name);
    return std::find(keys_.begin(), keys_.end(), extension) != keys_.end();
}

QByteArray TempTypes::namePattern() const {
    // "*" + key matches every name that ends in the key, ASCII case ignored: a superset of the
    // names whose extension is the key, since '*' and '?' in a key only widen it. Keys that
    // the pattern syntax would read otherwise fall back to every name.
    QByteArray pattern;
    for (const QByteArray& key : keys_) {
        if (!key.startsWith('.') || key.endsWith('.') || key.contains(';') || key.trimmed() != key)
            return "*.*";
        if (!pattern.isEmpty()) pattern += ';';
        pattern += '*' + key;
    }
    return pattern.isEmpty() ? QByteArray("*.*") : pattern;
}

}  // namespace vastel
