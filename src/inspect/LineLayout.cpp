#include "inspect/LineLayout.h"

#include <algorithm>

namespace vastel {

namespace {

constexpr QChar kControl(0x00B7);  // middle dot
constexpr QChar kTab(0x00BB);      // »
constexpr QChar kReplacement(0xFFFD);

// Length of a valid UTF-8 sequence at bytes[i] (2 to 4) and its code point; 0 when invalid.
int utf8Sequence(const QByteArray& bytes, int i, char32_t& code) {
    const auto b = [&](int k) { return quint8(bytes[i + k]); };
    const quint8 lead = b(0);
    int length = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) return 0;
    for (int k = 1; k < length; ++k) {
        if ((b(k) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (b(k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not valid.
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

QChar hexDigit(int v) { return QLatin1Char("0123456789ABCDEF"[v & 15]); }

}  // namespace

int LineLayout::columnOfByte(int byte) const {
    const auto it = std::lower_bound(cellByte.begin(), cellByte.end(), byte);
    return int(it - cellByte.begin());
}

int LineLayout::byteOfColumn(int column) const {
    if (column < 0) return 0;
    return column < cells() ? cellByte[size_t(column)] : byteCount;
}

LineLayout layoutTextLine(const QByteArray& bytes, bool expandTabs, int tabSize, int maxCells) {
    LineLayout out;
    out.byteCount = int(bytes.size());
    out.text.reserve(std::min<qsizetype>(bytes.size(), maxCells));
    const auto put = [&](QChar c, int byte) {
        out.text.append(c);
        out.cellByte.push_back(byte);
    };
    for (int i = 0; i < bytes.size() && out.cells() < maxCells;) {
        const quint8 c = quint8(bytes[i]);
        if (c == '\t') {
            if (!expandTabs) {
                put(kTab, i);
            } else if (tabSize > 0) {
                const int blanks = tabSize - out.cells() % tabSize;
                for (int k = 0; k < blanks && out.cells() < maxCells; ++k) put(QLatin1Char(' '), i);
            }
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            put(kControl, i++);
        } else if (c < 0x80) {
            put(QLatin1Char(char(c)), i++);
        } else {
            char32_t code = 0;
            const int length = utf8Sequence(bytes, i, code);
            if (length > 0) {
                put(code > 0xFFFF ? kReplacement : QChar(char16_t(code)), i);
                i += length;
            } else {
                put(c < 0xA0 ? kControl : QChar(char16_t(c)), i++);
            }
        }
    }
    return out;
}

int hexOffsetDigits(qint64 fileSize) {
    int digits = 8;
    while (digits < 16 && fileSize - 1 > (qint64(1) << (4 * digits)) - 1) ++digits;
    return digits;
}

int hexTextColumn(int offsetDigits, int byteInLine) {
    // offset, two blanks, 16 x "hh " plus one gap blank, one more blank
    return offsetDigits + 2 + 3 * kHexBytesPerLine + 1 + 1 + byteInLine;
}

LineLayout layoutHexLine(const QByteArray& bytes, qint64 offset, int offsetDigits) {
    LineLayout out;
    const int n = int(std::min<qsizetype>(bytes.size(), kHexBytesPerLine));
    out.byteCount = n;
    const auto put = [&](QChar c, int byte) {
        out.text.append(c);
        out.cellByte.push_back(std::min(byte, n));
    };
    for (int d = offsetDigits - 1; d >= 0; --d) put(hexDigit(int(offset >> (4 * d))), 0);
    put(QLatin1Char(' '), 0);
    put(QLatin1Char(' '), 0);
    for (int i = 0; i < kHexBytesPerLine; ++i) {
        if (i < n) {
            const quint8 b = quint8(bytes[i]);
            put(hexDigit(b >> 4), i);
            put(hexDigit(b), i);
        } else {
            put(QLatin1Char(' '), n);
            put(QLatin1Char(' '), n);
        }
        put(QLatin1Char(' '), i + 1);
        if (i == 7) put(QLatin1Char(' '), i + 1);
    }
    put(QLatin1Char(' '), 0);
    for (int i = 0; i < n; ++i) {
        const quint8 b = quint8(bytes[i]);
        put(b >= 0x20 && b < 0x7F ? QLatin1Char(char(b)) : QLatin1Char('.'), i);
    }
    return out;
}

}  // namespace vastel
