#include "stats/StatCollector.h"

namespace vastel {

StatCollector::StatCollector(StatTallies& tallies, const TypeFilter& filter, const QDate& today,
                             bool overhang)
    : t_(tallies), matcher_(filter), ages_(today), overhang_(overhang) {}

void StatCollector::collect(const WalkFile& file) {
    crunchNumbers(file.folder, file.entry);
    ++t_.filesProcessed;
}

void StatCollector::crunchNumbers(const QByteArray& folder, const DirEntry& entry) {
    if (t_.filesProcessed % 3 == 0 && statusFolder_ != folder) {
        statusFolder_ = folder;
        ++statusSerial_;
    }
    if (!matcher_.isThisSelected(entry.name)) return;
    // A second name of a file already counted in this run adds nothing: its bytes are on the
    // disk once.
    if (entry.links > 1 && !linked_.emplace(entry.device, entry.inode).second) return;
    const qint64 size = entry.size;
    ++t_.filesSelected;
    collectFileAttr(entry.attributes, size);
    DropIntoHourSlot(entry);

    int b = ages_.bucket(entry.lastAccess);
    t_.accessCount[b] += 1;
    t_.accessBytes[b] += size;
    b = ages_.bucket(entry.creation);
    t_.createCount[b] += 1;
    t_.createBytes[b] += size;
    b = ages_.bucket(entry.lastWrite);
    t_.modifyCount[b] += 1;
    t_.modifyBytes[b] += size;

    t_.insertType(fileExtension(entry.name), size, false);

    const int k = sizeBucket(size);
    t_.sizeCount[k] += 1;
    t_.sizeBytes[k] += size;

    if (overhang_) {
        t_.waste4K += clusterWaste(size, 4096);
        t_.waste8K += clusterWaste(size, 8192);
        t_.waste16K += clusterWaste(size, 16384);
        t_.waste32K += clusterWaste(size, 32768);
        t_.waste64K += clusterWaste(size, 65536);
    }
}

void StatCollector::collectFileAttr(quint32 attributes, qint64 size) {
    if (attributes & faReadOnly) {
        ++t_.nReadOnly;
        t_.szReadOnly += size;
    }
    if (attributes & faHidden) {
        ++t_.nHidden;
        t_.szHidden += size;
    }
    if (attributes & faSysFile) {
        ++t_.nSystem;
        t_.szSystem += size;
    }
    if (attributes & faArchive) {
        ++t_.nArchive;
        t_.szArchive += size;
    }
}

void StatCollector::DropIntoHourSlot(const DirEntry& entry) {
    int s = halfHourSlot(entry.creation);
    if (s >= 1) t_.hourCreated[s] += 1;
    s = halfHourSlot(entry.lastWrite);
    if (s >= 1) t_.hourModified[s] += 1;
    s = halfHourSlot(entry.lastAccess);
    if (s >= 1) t_.hourAccessed[s] += 1;
}

}  // namespace vastel
