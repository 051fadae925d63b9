#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vastel {

namespace {

char asciiLower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

QByteArray asciiLowered(const QByteArray& text) {
    QByteArray out = text;
    for (char& c : out) c = asciiLower(c);
    return out;
}

bool sameName(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (asciiLower(a[i]) != asciiLower(b[i])) return false;
    return true;
}

// Blanks that surround keys and values on disk; never part of them (they are escaped).
bool isRawBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

QByteArray trimRaw(const QByteArray& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isRawBlank(text[begin])) ++begin;
    while (end > begin && isRawBlank(text[end - 1])) --end;
    return text.mid(begin, end - begin);
}

// Length of the valid UTF-8 sequence at p (1 to 4), or 0 when the bytes there are not one.
// Overlong forms, surrogates and code points above U+10FFFF are not valid.
int utf8SequenceLength(const uchar* p, qsizetype available) {
    const uchar c = p[0];
    if (c < 0x80) return 1;
    int length = 0;
    quint32 codePoint = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
        codePoint = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3;
        codePoint = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        codePoint = c & 0x07;
    } else {
        return 0;
    }
    if (available < length) return 0;
    for (int i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (p[i] & 0x3F);
    }
    if (length == 3 && (codePoint < 0x800 || (codePoint >= 0xD800 && codePoint <= 0xDFFF)))
        return 0;
    if (length == 4 && (codePoint < 0x10000 || codePoint > 0x10FFFF)) return 0;
    return length;
}

void appendHexEscape(QByteArray& out, uchar c) {
    static const char digits[] = "0123456789ABCDEF";
    out += "\\x";
    out += digits[c >> 4];
    out += digits[c & 0x0F];
}

QByteArray escape(const QByteArray& raw, bool name) {
    QByteArray out;
    out.reserve(raw.size() + raw.size() / 8 + 2);
    const auto* data = reinterpret_cast<const uchar*>(raw.constData());
    const qsizetype size = raw.size();
    for (qsizetype i = 0; i < size;) {
        const uchar c = data[i];
        if (c == '\\' || c == ';' || c == '=' || c == '#' || (name && (c == '[' || c == ']'))) {
            out += '\\';
            out += char(c);
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F || (c == ' ' && (i == 0 || i == size - 1))) {
            appendHexEscape(out, c);
        } else if (c >= 0x80) {
            const int length = utf8SequenceLength(data + i, size - i);
            if (length == 0) {
                appendHexEscape(out, c);
            } else {
                out.append(reinterpret_cast<const char*>(data + i), length);
                i += length;
                continue;
            }
        } else {
            out += char(c);
        }
        ++i;
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Position of the first occurrence of `wanted` that is not escaped by a backslash, or -1.
qsizetype findUnescaped(const QByteArray& text, char wanted, qsizetype from = 0) {
    for (qsizetype i = from; i < text.size(); ++i) {
        if (text[i] == '\\') {
            ++i;
            continue;
        }
        if (text[i] == wanted) return i;
    }
    return -1;
}

}  // namespace

QByteArray IniFile::escapeValue(const QByteArray& raw) { return escape(raw, false); }

QByteArray IniFile::escapeName(const QByteArray& raw) { return escape(raw, true); }

QByteArray IniFile::unescapeValue(const QByteArray& stored) {
    QByteArray out;
    out.reserve(stored.size());
    const qsizetype size = stored.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = stored[i];
        if (c != '\\' || i + 1 == size) {
            out += c;
            continue;
        }
        const char next = stored[i + 1];
        switch (next) {
            case '\\':
            case ';':
            case '=':
            case '#':
            case '[':
            case ']':
            case ' ':
                out += next;
                ++i;
                break;
            case 't':
                out += '\t';
                ++i;
                break;
            case 'n':
                out += '\n';
                ++i;
                break;
            case 'r':
                out += '\r';
                ++i;
                break;
            case 'x':
            case 'X': {
                const int high = i + 2 < size ? hexValue(stored[i + 2]) : -1;
                const int low = i + 3 < size ? hexValue(stored[i + 3]) : -1;
                if (high >= 0 && low >= 0) {
                    out += char((high << 4) | low);
                    i += 3;
                } else {
                    out += c;  // not an escape: keep the backslash as it stands
                }
                break;
            }
            default:
                // Unknown escapes (hand edits, paths like "C:\data") keep their backslash.
                out += c;
                break;
        }
    }
    return out;
}

void IniFile::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        sections_.clear();
        return;
    }
    parse(file.readAll());
}

void IniFile::parse(const QByteArray& text) {
    sections_.clear();
    QByteArray current;  // keys before the first section line belong to the unnamed section
    qsizetype start = 0;
    if (text.startsWith("\xEF\xBB\xBF")) start = 3;  // a byte-order mark left by an editor
    while (start < text.size()) {
        // LF, CR LF and lone CR all end a line; a raw CR is never part of a value.
        qsizetype end = start;
        while (end < text.size() && text[end] != '\n' && text[end] != '\r') ++end;
        const QByteArray line = trimRaw(text.mid(start, end - start));
        start = end + 1;
        if (line.isEmpty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            // A section line missing its "]" still names the section rather than letting the
            // keys below it fall into the previous one.
            qsizetype close = findUnescaped(line, ']', 1);
            if (close < 0) close = line.size();
            current = unescapeValue(trimRaw(line.mid(1, close - 1)));
            sectionForWrite(current);
            continue;
        }
        const qsizetype eq = findUnescaped(line, '=');
        if (eq <= 0) continue;  // no "=", or no key: not a value line
        const QByteArray key = unescapeValue(trimRaw(line.left(eq)));
        if (key.isEmpty()) continue;
        setValue(current, key, unescapeValue(trimRaw(line.mid(eq + 1))));
    }
}

QByteArray IniFile::serialize() const {
    QByteArray out;
    for (const Section& s : sections_) {
        if (!out.isEmpty()) out += '\n';
        out += '[' + escapeName(s.name) + "]\n";
        for (const Entry& e : s.entries)
            out += escapeName(e.key) + '=' + escapeValue(e.value) + '\n';
    }
    return out;
}

bool IniFile::save(const QString& path) const {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = serialize();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

const IniFile::Section* IniFile::section(const QByteArray& name) const {
    for (const Section& s : sections_)
        if (sameName(s.name, name)) return &s;
    return nullptr;
}

IniFile::Section* IniFile::findSection(const QByteArray& name) {
    return const_cast<Section*>(std::as_const(*this).section(name));
}

IniFile::Section& IniFile::sectionForWrite(const QByteArray& name) {
    if (Section* s = findSection(name)) return *s;
    sections_.push_back(Section{name, {}, {}});
    return sections_.back();
}

bool IniFile::hasSection(const QByteArray& name) const { return section(name) != nullptr; }

const QByteArray* IniFile::value(const QByteArray& sectionName, const QByteArray& key) const {
    const Section* s = section(sectionName);
    if (!s) return nullptr;
    const auto it = s->index.constFind(asciiLowered(key));
    return it == s->index.constEnd() ? nullptr : &s->entries[size_t(*it)].value;
}

bool IniFile::setValue(const QByteArray& sectionName, const QByteArray& key,
                       const QByteArray& value) {
    Section& s = sectionForWrite(sectionName);
    const QByteArray folded = asciiLowered(key);
    const auto it = s.index.constFind(folded);
    if (it != s.index.constEnd()) {
        Entry& e = s.entries[size_t(*it)];
        if (e.value == value) return false;
        e.value = value;
        return true;
    }
    s.index.insert(folded, qsizetype(s.entries.size()));
    s.entries.push_back(Entry{key, value});
    return true;
}

}  // namespace vastel
