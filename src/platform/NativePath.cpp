#include "platform/NativePath.h"

#include <QFile>
#include <QStringDecoder>

namespace vastel {

QString displayPath(QByteArrayView nativePath) { return QString::fromUtf8(nativePath); }

QByteArray nativePath(const QString& text) { return QFile::encodeName(text); }

bool isValidUtf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // decode() is lazy: the conversion runs only when its result becomes a QString.
    const QString text = decoder.decode(bytes);
    return !decoder.hasError();
}

}  // namespace vastel
