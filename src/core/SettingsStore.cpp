#include "core/SettingsStore.h"

#include "platform/NativePath.h"

#include "platform/Paths.h"

namespace vastel {

namespace {
QByteArray nameBytes(const QString& name) { return name.toUtf8(); }

bool isAsciiBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}
}  // namespace

QString settingsKey() { return QStringLiteral("Software\\Tessivo Corporation\\Vastel\\3.0"); }

std::optional<qint64> parseStoredInteger(const QString& text, int bits) {
    // Blanks around the number come from hand edits; they do not make it unreadable.
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isAsciiBlank(text[begin])) ++begin;
    while (end > begin && isAsciiBlank(text[end - 1])) --end;
    const QStringView number = QStringView(text).mid(begin, end - begin);
    if (number.isEmpty()) return std::nullopt;

    const quint64 unsignedMax = bits == 32 ? 0xFFFFFFFFull : ~0ull;
    if (number.size() > 2 && number[0] == QLatin1Char('0') &&
        (number[1] == QLatin1Char('x') || number[1] == QLatin1Char('X'))) {
        quint64 value = 0;
        for (qsizetype i = 2; i < number.size(); ++i) {
            const int digit = hexDigit(number[i].unicode());
            if (digit < 0) return std::nullopt;
            if (value > (unsignedMax >> 4)) return std::nullopt;
            value = (value << 4) | quint64(digit);
        }
        // Hex wraps to a signed value of the given width, as the registry platform read it.
        return bits == 32 ? qint64(qint32(quint32(value))) : qint64(value);
    }

    bool negative = false;
    qsizetype i = 0;
    if (number[0] == QLatin1Char('+') || number[0] == QLatin1Char('-')) {
        negative = number[0] == QLatin1Char('-');
        ++i;
    }
    if (i == number.size()) return std::nullopt;
    const quint64 limit = bits == 32 ? (negative ? 0x80000000ull : 0x7FFFFFFFull)
                                     : (negative ? 0x8000000000000000ull : 0x7FFFFFFFFFFFFFFFull);
    quint64 value = 0;
    for (; i < number.size(); ++i) {
        const char16_t c = number[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        const quint64 digit = c - u'0';
        if (value > (limit - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return negative ? qint64(0 - value) : qint64(value);
}

SettingsStore::SettingsStore() : SettingsStore(mainSettingsFile()) {}

SettingsStore::SettingsStore(const QString& filePath) : path_(filePath) { ini_.load(path_); }

SettingsStore SettingsStore::forKey(const QString& keyName) {
    return SettingsStore(secondaryKeyFile(keyName));
}

SettingsStore::SettingsStore(SettingsStore&& other) noexcept
    : path_(std::move(other.path_)),
      ini_(std::move(other.ini_)),
      pending_(std::move(other.pending_)) {
    other.pending_.clear();
}

SettingsStore::~SettingsStore() { flush(); }

bool SettingsStore::flush() {
    if (pending_.empty()) return true;
    IniFile current;
    current.load(path_);
    const QByteArray before = current.serialize();
    for (const Change& c : pending_) current.setValue(c.section, c.key, c.value);
    // Values set and set back, or already written by another store, need no write.
    const bool changed = current.serialize() != before;
    if (changed && !current.save(path_)) return false;
    pending_.clear();
    ini_ = std::move(current);
    return true;
}

QByteArray SettingsStore::readBytes(const QString& section, const QString& key,
                                    const QByteArray& def) const {
    const QByteArray* value = ini_.value(nameBytes(section), nameBytes(key));
    return value ? *value : def;
}

void SettingsStore::writeBytes(const QString& section, const QString& key,
                               const QByteArray& value) {
    const QByteArray s = nameBytes(section);
    const QByteArray k = nameBytes(key);
    // An unchanged value is not written, so a store that only reads never rewrites the file.
    if (ini_.setValue(s, k, value)) pending_.push_back(Change{s, k, value});
}

bool SettingsStore::hasValue(const QString& section, const QString& key) const {
    return ini_.value(nameBytes(section), nameBytes(key)) != nullptr;
}

QString SettingsStore::readString(const QString& section, const QString& key,
                                  const QString& def) const {
    const QByteArray* value = ini_.value(nameBytes(section), nameBytes(key));
    if (!value || !isValidUtf8(*value)) return def;
    return QString::fromUtf8(*value);
}

void SettingsStore::writeString(const QString& section, const QString& key, const QString& value) {
    writeBytes(section, key, value.toUtf8());
}

int SettingsStore::readInteger(const QString& section, const QString& key, int def) const {
    const QByteArray* value = ini_.value(nameBytes(section), nameBytes(key));
    if (!value || !isValidUtf8(*value)) return def;
    const std::optional<qint64> number = parseStoredInteger(QString::fromUtf8(*value), 32);
    return number ? int(*number) : def;
}

void SettingsStore::writeInteger(const QString& section, const QString& key, int value) {
    writeBytes(section, key, QByteArray::number(value));
}

qint64 SettingsStore::readInt64(const QString& section, const QString& key, qint64 def) const {
    const QByteArray* value = ini_.value(nameBytes(section), nameBytes(key));
    if (!value || !isValidUtf8(*value)) return def;
    return parseStoredInteger(QString::fromUtf8(*value), 64).value_or(def);
}

void SettingsStore::writeInt64(const QString& section, const QString& key, qint64 value) {
    writeBytes(section, key, QByteArray::number(value));
}

}  // namespace vastel
