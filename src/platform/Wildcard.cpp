#include "platform/Wildcard.h"

#include <cstring>

namespace vastel {

namespace {

inline unsigned char lower(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; }

// Bytes of the character that starts at p: UTF-8 continuation bytes belong to their lead byte,
// any other byte stands alone.
inline qsizetype charLength(const unsigned char* p, qsizetype left) {
    qsizetype n = 1;
    if (*p >= 0xC0)
        while (n < left && n < 4 && (p[n] & 0xC0) == 0x80) ++n;
    return n;
}

// Glob over bytes with one backtracking point per star (the classic linear-space matcher).
bool globMatch(const QByteArray& glob, const unsigned char* name, qsizetype length) {
    const auto* g = reinterpret_cast<const unsigned char*>(glob.constData());
    const qsizetype gl = glob.size();
    qsizetype gi = 0, ni = 0, starG = -1, starN = 0;
    while (ni < length) {
        if (gi < gl && g[gi] == '*') {
            starG = gi++;
            starN = ni;
        } else if (gi < gl && g[gi] == '?') {
            ++gi;
            ni += charLength(name + ni, length - ni);
        } else if (gi < gl && g[gi] == lower(name[ni])) {
            ++gi;
            ++ni;
        } else if (starG >= 0) {
            gi = starG + 1;
            starN += charLength(name + starN, length - starN);
            ni = starN;
        } else {
            return false;
        }
    }
    while (gi < gl && g[gi] == '*') ++gi;
    return gi == gl;
}

}  // namespace

WildcardPattern::WildcardPattern(const QByteArray& pattern) {
    for (QByteArray part : pattern.split(';')) {
        part = part.trimmed().toLower();
        if (part.isEmpty()) continue;
        if (part == "*.*" || part == "*") {
            all_ = true;
            continue;
        }
        Alternative a;
        // "*." asks for names without an extension, as the desktop's "No extension" type.
        if (part.size() > 1 && part.endsWith('.')) {
            a.noExtension = true;
            part.chop(1);
        }
        a.glob = part;
        alternatives_.push_back(std::move(a));
    }
}

bool WildcardPattern::matches(const char* name, qsizetype length) const {
    if (all_) return true;
    const auto* n = reinterpret_cast<const unsigned char*>(name);
    for (const Alternative& a : alternatives_) {
        if (a.noExtension && std::memchr(name, '.', size_t(length))) continue;
        if (globMatch(a.glob, n, length)) return true;
    }
    return false;
}

}  // namespace vastel
