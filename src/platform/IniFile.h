#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <vector>

namespace vastel {

// One settings file: sections of named values, kept as exact bytes.
// Section and key names compare without regard to ASCII case, like the registry they replace.
// Values are escaped on disk so that any byte sequence (blanks, "\", ";", "=", "#", tabs,
// newlines, invalid UTF-8) reads back unchanged. Lines that cannot be parsed are ignored; when
// a key occurs twice in a section, the last line wins.
//
// On disk: "[Section]" and "key=value" lines. Escapes: \\ \; \= \# \[ \] \t \n \r and \xHH for
// any other control byte, a byte that is not part of valid UTF-8, and a blank at either end.
// Whole lines starting with ";" or "#" are comments; unescaped blanks around keys and values
// are ignored, so hand-edited "key = value" lines read as expected.
class IniFile {
  public:
    struct Entry {
        QByteArray key;
        QByteArray value;
    };
    struct Section {
        QByteArray name;
        std::vector<Entry> entries;
        // ASCII-lower-cased key -> position in entries.
        QHash<QByteArray, qsizetype> index;
    };

    // Reads the file; a missing or unreadable file gives an empty store.
    void load(const QString& path);
    void parse(const QByteArray& text);
    QByteArray serialize() const;
    // Writes atomically (temporary file + rename), creating the folder if needed.
    bool save(const QString& path) const;

    const QByteArray* value(const QByteArray& section, const QByteArray& key) const;
    // Returns true when the stored value changed (a new key, or different bytes).
    bool setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);
    bool hasSection(const QByteArray& section) const;
    const Section* section(const QByteArray& name) const;
    const std::vector<Section>& sections() const { return sections_; }

    static QByteArray escapeValue(const QByteArray& raw);
    static QByteArray unescapeValue(const QByteArray& stored);
    // Names also escape "[" and "]" so that a key can never read as a section line.
    static QByteArray escapeName(const QByteArray& raw);

  private:
    Section* findSection(const QByteArray& name);
    Section& sectionForWrite(const QByteArray& name);
    std::vector<Section> sections_;
};

}  // namespace vastel
