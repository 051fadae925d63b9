// vastel-scan caches: the browsers' cache folders that the cache cleaner starts with.
#include "app/RowPrinter.h"
#include "app/ScanCommand.h"
#include "finders/CacheSources.h"

#include <cstdio>

namespace vastel {

namespace {

int runCaches(const QByteArrayList& args) {
    if (!args.isEmpty()) {
        std::fputs("Usage: vastel-scan caches\n", stderr);
        return 2;
    }
    RowPrinter rows;
    for (const CacheFolder& f : findCacheFolders(CacheHomes::fromEnvironment()))
        rows.cell(f.folder).endRow();
    return rows.finish() ? 0 : 1;
}

const ScanCommand command("caches",
                          "caches  the browsers' cache folders that the cache cleaner starts "
                          "with, one per line",
                          runCaches);

}  // namespace

}  // namespace vastel
