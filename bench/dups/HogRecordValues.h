#pragma once

#include "core/ResultRecord.h"
#include "platform/PackedStamp.h"

#include <QByteArray>
#include <random>

namespace vastel {

// The grid benches' file-hog rows, shaped like a real disk's: about ten files a folder, a few
// hundred distinct dates, a handful of types. The folder and the name of row i, and its values.
inline QByteArray hogFolder(int i) {
    return "/home/user/Documents/project" + QByteArray::number(i / 10);
}
inline QByteArray hogName(int i) { return "report-" + QByteArray::number(i) + ".pdf"; }
inline void setHogValues(ResultRecord& r, std::mt19937& random) {
    r.size = qint64(random() % 50'000'000);
    r.modified = packDosStamp(2015 + int(random() % 9), 1 + int(random() % 12),
                              1 + int(random() % 28), int(random() % 24), int(random() % 60), 0);
    r.accessed = r.modified;
    r.type = qint32(random() % 4);
}

}  // namespace vastel
