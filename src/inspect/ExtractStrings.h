#pragma once

#include "core/JobSink.h"

#include <QByteArray>

class QIODevice;

namespace vastel {

// Writes the readable runs of a file to a text file, one per line: runs of letters, digits
// and blanks longer than `minimum` and at most `maximum` + 1 characters, read in blocks of
// 2048 bytes (a run open at the end of a block is dropped), a run equal to the last written
// line written only once. An unopenable source is reported to the sink (CannotOpen) and leaves
// the target as it is; returns false then, or when the target cannot be created or written
// (CannotCreate, CannotWrite).
bool extractStrings(const QByteArray& source, const QByteArray& target, int minimum, int maximum,
                    JobSink& sink);

// The same scan between open devices; false when writing to the target failed.
bool writeStrings(QIODevice& source, QIODevice& target, int minimum, int maximum);

}  // namespace vastel
