#pragma once

#include <QByteArray>
#include <functional>

class QIODevice;

namespace vastel {

// Finds `needle` in the first `size` bytes of a file read through `file`, 4 MiB at a time.
// Forward: the first match that starts at or after `from`; backward: the last match that
// starts before `from`. Without matchCase, ASCII letters match either case. Returns the
// match's offset, or -1 when there is none or `keepGoing` (asked between pieces) says stop.
qint64 findInFile(QIODevice& file, qint64 size, const QByteArray& needle, qint64 from,
                  bool backward, bool matchCase, const std::function<bool()>& keepGoing = {});

}  // namespace vastel
