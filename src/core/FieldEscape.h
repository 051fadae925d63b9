#pragma once

#include <QByteArray>

namespace vastel {

// A field of a tab-separated output line: backslash, TAB, CR and LF become \\, \t, \r, \n;
// every other byte stays as it is, so paths keep their exact bytes.
QByteArray escapeField(const QByteArray& field);
void appendEscapedField(QByteArray& line, const QByteArray& field);

// The escaped bytes of data written at out, which has room for 2 * size bytes; returns the
// end of what was written. Runs of plain bytes are copied whole: output loops call it per cell.
char* escapeFieldInto(char* out, const char* data, qsizetype size);

}  // namespace vastel
