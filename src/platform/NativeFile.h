#pragma once

#include <QByteArray>
#include <QFile>

namespace vastel {

// Opens a file by the exact bytes of its path (QFile's own QString path cannot carry names
// that are not UTF-8). Reading opens only regular files, following links, and never blocks
// on a FIFO or device; writing creates or truncates. Returns false with errno set.
bool openNativeForReading(QFile& file, const QByteArray& path);
bool openNativeForWriting(QFile& file, const QByteArray& path);

}  // namespace vastel
