#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace vastel {

// One line as the viewer displays it: one character per screen cell, and for each cell the
// byte (counted from the line's first byte) that it shows.
struct LineLayout {
    QString text;
    std::vector<int> cellByte;
    int byteCount = 0;  // bytes the line shows

    int cells() const { return int(text.size()); }
    // The first cell that shows the byte or a later one; cells() past the end.
    int columnOfByte(int byte) const;
    // The byte a caret before the cell stands at; byteCount at or past the end.
    int byteOfColumn(int column) const;
};

// Text mode: UTF-8 sequences as their characters, other bytes as Latin-1, control bytes as a
// middle dot, a tab as blanks up to the next tab stop (with expansion) or as "»". At most
// maxCells cells.
LineLayout layoutTextLine(const QByteArray& bytes, bool expandTabs, int tabSize, int maxCells);

// Hexadecimal mode: the offset, sixteen bytes in hex (a gap after eight) and as characters.
constexpr int kHexBytesPerLine = 16;
LineLayout layoutHexLine(const QByteArray& bytes, qint64 offset, int offsetDigits);
int hexOffsetDigits(qint64 fileSize);                 // 8, or more for files past 4 GiB
int hexTextColumn(int offsetDigits, int byteInLine);  // the character column of a byte

}  // namespace vastel
