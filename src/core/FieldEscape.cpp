#include "core/FieldEscape.h"

#include <cstring>

namespace vastel {

namespace {

inline bool needsEscape(char c) { return c == '\\' || c == '\t' || c == '\r' || c == '\n'; }

constexpr quint64 kOnes = 0x0101010101010101ull;
constexpr quint64 kHighs = 0x8080808080808080ull;

// Eight bytes at a time: none is a backslash nor below 14 (TAB, LF and CR are).
inline bool plainWord(quint64 w) {
    const quint64 backslash = w ^ (kOnes * '\\');
    const quint64 hits = ((backslash - kOnes) & ~backslash) | ((w - kOnes * 14) & ~w);
    return (hits & kHighs) == 0;
}

}  // namespace

char* escapeFieldInto(char* out, const char* data, qsizetype size) {
    const char* p = data;
    const char* const end = data + size;
    while (p < end) {
        const char* run = p;
        while (end - p >= 8) {
            quint64 w;
            std::memcpy(&w, p, 8);
            if (!plainWord(w)) break;
            p += 8;
        }
        while (p < end && !needsEscape(*p)) ++p;
        std::memcpy(out, run, size_t(p - run));
        out += p - run;
        if (p == end) break;
        *out++ = '\\';
        switch (*p++) {
            case '\\':
                *out++ = '\\';
                break;
            case '\t':
                *out++ = 't';
                break;
            case '\r':
                *out++ = 'r';
                break;
            default:
                *out++ = 'n';
        }
    }
    return out;
}

void appendEscapedField(QByteArray& line, const QByteArray& field) {
    if (field.isEmpty()) return;
    const qsizetype old = line.size();
    line.resize(old + 2 * field.size());
    char* const start = line.data();
    line.resize(escapeFieldInto(start + old, field.constData(), field.size()) - start);
}

QByteArray escapeField(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size() + 8);
    appendEscapedField(out, field);
    return out;
}

}  // namespace vastel
