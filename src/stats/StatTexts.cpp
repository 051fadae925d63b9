#include "stats/StatTexts.h"

#include "core/Utility.h"

namespace vastel {

QString sizeBucketLabel(int bucket) {
    static const char* const kLabels[] = {"0 - 16K",     "16K - 32K",   "32K - 64K",  "64K - 128K",
                                          "128K - 256K", "256K - 512K", "512K - 1MB", "1MB - 2MB",
                                          "2MB - 4MB",   "4MB - 8MB",   "8MB - 16MB", "Over 16MB"};
    if (bucket < 1 || bucket > 12) return {};
    return QLatin1String(kLabels[bucket - 1]);
}

QString ageBucketLabel(int bucket) {
    static const char* const kLabels[] = {
        "Not recorded",   "<= 7 days",   "8 - 30 days", "31 - 60 days", "61 - 120 days",
        "121 - 365 days", "1 - 2 years", "2 - 3 years", "3 - 4 years",  "Over 4 years"};
    if (bucket < 0 || bucket > 9) return {};
    return QLatin1String(kLabels[bucket]);
}

QString averageText(qint64 files, qint64 bytes) {
    if (files <= 0) return QStringLiteral("0");
    return numberText(double(bytes) / double(files));
}

}  // namespace vastel
