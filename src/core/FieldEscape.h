#pragma once

#include <QByteArray>

namespace vastel {

// A field of a tab-separated output line: backslash, TAB, CR and LF become \\, \t, \r, \n;
// every other byte stays as it is, so paths keep their exact bytes.
QByteArray escapeField(const QByteArray& field);
void appendEscapedField(QByteArray& line, const QByteArray& field);

}  // namespace vastel
