#pragma once

#include "platform/IniFile.h"

#include <QString>
#include <optional>
#include <vector>

namespace vastel {

// The per-user settings store: sections of named text values in one file. Open one around a
// use (it reads the file when made) and let it go; changes are written when it is destroyed
// or flushed. Reading never fails: a missing or unreadable value yields the caller's default.
class SettingsStore {
  public:
    // The main store, "Software\Tessivo Corporation\Vastel\3.0".
    SettingsStore();
    // Another per-user key ("vastel.ini", "vastl98") or an explicit file.
    explicit SettingsStore(const QString& filePath);
    static SettingsStore forKey(const QString& keyName);
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;
    SettingsStore(SettingsStore&&) noexcept;

    // Text values; text that is not valid UTF-8 counts as unreadable.
    QString readString(const QString& section, const QString& key, const QString& def) const;
    void writeString(const QString& section, const QString& key, const QString& value);
    // Integers are decimal text; "0x"/"0X" + hex digits reads as hexadecimal (up to 8 digits'
    // worth, wrapping to a signed value: 0xFFFFFFFF reads as -1). Anything else, and decimal
    // numbers outside the 32-bit range, yield the default.
    int readInteger(const QString& section, const QString& key, int def) const;
    void writeInteger(const QString& section, const QString& key, int value);
    qint64 readInt64(const QString& section, const QString& key, qint64 def) const;
    void writeInt64(const QString& section, const QString& key, qint64 value);
    // Exact bytes, for file paths.
    QByteArray readBytes(const QString& section, const QString& key, const QByteArray& def) const;
    void writeBytes(const QString& section, const QString& key, const QByteArray& value);

    bool hasValue(const QString& section, const QString& key) const;
    const IniFile& file() const { return ini_; }
    const QString& path() const { return path_; }
    // Writes pending changes now; false when the file could not be written.
    bool flush();

  private:
    struct Change {
        QByteArray section, key, value;
    };
    QString path_;
    IniFile ini_;
    // Writes since the last flush, replayed over a fresh read of the file so that a store
    // opened meanwhile by another window keeps its own changes.
    std::vector<Change> pending_;
};

// "Software\Tessivo Corporation\Vastel\3.0"
QString settingsKey();

// Number parsing shared with the store: decimal, or "0x"/"0X" + hex digits; nullopt when not a
// number or out of range. bits = 32 or 64: decimal text must fit the signed range, hex text the
// unsigned one and wraps to signed (0xFFFFFFFF with bits 32 is -1).
std::optional<qint64> parseStoredInteger(const QString& text, int bits = 64);

}  // namespace vastel
