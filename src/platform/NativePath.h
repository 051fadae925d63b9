#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace vastel {

// Files are identified by the exact bytes of their path; text is derived for display only.
QString displayPath(QByteArrayView nativePath);  // lossy where bytes are not UTF-8
QByteArray nativePath(const QString& text);      // the file-name encoding of the text
bool isValidUtf8(const QByteArray& bytes);

}  // namespace vastel
