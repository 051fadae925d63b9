#pragma once

#include "core/JobSink.h"
#include "core/StopToken.h"

#include <QByteArray>

class QIODevice;

namespace vastel {

// Finds `needle` in the first `size` bytes of a file read through `file`, 4 MiB at a time.
// Forward: the first match that starts at or after `from`; backward: the last match that
// starts before `from`. Without matchCase, ASCII letters match either case. Returns the
// match's offset, or -1 when there is none or the stop token (tested between pieces, after the
// sink's tick) is set.
qint64 findInFile(QIODevice& file, qint64 size, const QByteArray& needle, qint64 from,
                  bool backward, bool matchCase, JobSink& sink, const StopToken& stop);
// The same without anyone to tell.
qint64 findInFile(QIODevice& file, qint64 size, const QByteArray& needle, qint64 from,
                  bool backward, bool matchCase);

}  // namespace vastel
