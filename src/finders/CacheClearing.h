#pragma once

#include "finders/CacheSources.h"

#include <QByteArray>
#include <QByteArrayList>
#include <QDateTime>
#include <QStringList>

namespace vastel {

class JobSink;
class StopToken;

// Whether a browser uses a profile now: one of its lock files exists (a link counts, whatever
// it points to), or a process of the current user runs under one of the browser's names.
// `procRoot` is the process table ("/proc"; tests give their own).
bool profileInUse(const CacheOwner& owner, const QByteArray& procRoot = "/proc");

// What clearing looks at.
struct CacheClearOptions {
    QByteArrayList folders;  // the cache folder list, in order; empty entries are skipped
    int nDays = 0;           // files not accessed for at least this many days
    QDateTime now;           // invalid: the current time
    CacheHomes homes;        // to tell which browser owns a folder
    QByteArray procRoot = "/proc";
};

struct CacheClearResult {
    QByteArrayList files;  // full paths, folder by folder in listing order
    qint64 total = 0;      // their bytes
    // Browsers whose folders were left alone because their profile is in use, once each, in
    // the order met.
    QStringList busyBrowsers;
};

// The files directly in each folder (no descent) that are regular files, not links, and whose
// last access lies at least nDays days back; a file without a date is never taken. A folder that
// is missing or unreadable gives nothing; a folder whose profile is in use is skipped whole.
CacheClearResult findCacheFiles(const CacheClearOptions& options, StopToken& stop, JobSink& sink);

}  // namespace vastel
