// The Safe Harbor build on this machine: the registry walk's time and the folders it finds,
// and the launcher's load of that list. Reads only; writes nothing.
#include "protect/FolderEntry.h"
#include "protect/RegistryFolderScan.h"
#include "protect/SafeHarbor.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

using namespace vastel;

namespace {
// Sorted like the window's list, duplicates refused without regard to case.
struct SortedSink : RegistryFolderSink {
    QByteArrayList folders;
    qsizetype position(const QByteArray& f) const {
        return std::lower_bound(folders.begin(), folders.end(), f,
                                [](const QByteArray& a, const QByteArray& b) {
                                    return compareNoCase(a, b) < 0;
                                }) -
               folders.begin();
    }
    bool listed(const QByteArray& f) override {
        const qsizetype at = position(f);
        return at < folders.size() && equalNoCase(folders[at], f);
    }
    void add(const QByteArray& f) override { folders.insert(position(f), f); }
};
}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    RegistryFolderScan scan;
    SortedSink sink;
    QElapsedTimer timer;
    timer.start();
    scan.run(sink);
    const qint64 walkMs = timer.elapsed();

    timer.restart();
    QByteArrayList lists = SafeHarbor::normalizeExceptionList(sink.folders);
    mergeSubfolderEntries(lists);
    FolderList lb1(lists);
    const qint64 loadMs = timer.elapsed();

    std::printf("registry walk: %lld ms, %lld folders (%d keys, %d values, %d files skipped)\n",
                (long long)walkMs, (long long)sink.folders.size(), scan.keysVisited,
                scan.valuesRead, scan.filesSkipped);
    std::printf("launcher load of that list: %lld ms, %lld entries with real paths added\n",
                (long long)loadMs, (long long)lb1.count());
    return 0;
}
