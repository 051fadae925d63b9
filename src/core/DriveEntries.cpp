#include "core/DriveEntries.h"

#include "core/CountedList.h"
#include "core/SettingsStore.h"
#include "platform/NativePath.h"

#include <algorithm>

namespace vastel {

namespace {

const QString kNewFolders = QStringLiteral("NewFolders");

QString cased(const QString& text, bool lowerCase) {
    return lowerCase ? text.toLower() : text.toUpper();
}

}  // namespace

std::vector<Volume> DriveSource::readVolumes() const {
    return volumes ? volumes() : mountedVolumes();
}

bool DriveSource::offers(DriveType type) const {
    return std::find(types.begin(), types.end(), type) != types.end();
}

DriveSource DriveSource::finders() {
    DriveSource s;
    s.types = {DriveType::Removable, DriveType::Fixed, DriveType::Network, DriveType::CdRom};
    return s;
}

DriveSource DriveSource::filesByDate() {
    DriveSource s;
    s.types = {DriveType::Removable, DriveType::Fixed, DriveType::Network};
    return s;
}

DriveSource DriveSource::statistics() {
    DriveSource s;
    s.types = {DriveType::Fixed, DriveType::Network, DriveType::CdRom, DriveType::RamDisk};
    s.lowerCase = true;
    return s;
}

QString driveEntryText(const Volume& volume, bool lowerCase) {
    const QString mountPoint = displayPath(volume.mountPoint);
    switch (volume.type) {
        case DriveType::Removable:
            return mountPoint;
        case DriveType::Network:
            if (!volume.source.isEmpty())
                return mountPoint + QLatin1Char(' ') + cased(displayPath(volume.source), lowerCase);
            break;
        default:
            break;
    }
    return mountPoint + QStringLiteral(" [") + cased(volume.label, lowerCase) + QLatin1Char(']');
}

std::vector<DriveListEntry> driveListEntries(const DriveSource& source, bool withFolders) {
    const std::vector<Volume> volumes = source.readVolumes();
    std::vector<DriveListEntry> entries;
    for (const Volume& v : volumes) {
        if (!source.offers(v.type)) continue;
        DriveListEntry e;
        e.target.kind = ScanTarget::Kind::Drive;
        e.target.root = v.mountPoint;
        e.target.text = driveEntryText(v, source.lowerCase);
        e.type = v.type;
        entries.push_back(std::move(e));
    }
    // The current drive, else the drive at "/", the one root that every path starts from.
    const Volume* current = currentVolume(volumes);
    auto byRoot = [&](const QByteArray& root) {
        return std::find_if(entries.begin(), entries.end(),
                            [&](const DriveListEntry& e) { return e.target.root == root; });
    };
    auto checked = current ? byRoot(current->mountPoint) : entries.end();
    if (checked == entries.end()) checked = byRoot("/");
    if (checked != entries.end()) checked->checked = true;

    if (withFolders) {
        for (const QByteArray& folder : readExtraFolders()) {
            DriveListEntry e;
            e.target.kind = ScanTarget::Kind::Folder;
            e.target.root = folder;
            e.target.text = displayPath(folder);
            entries.push_back(std::move(e));
        }
    }
    return entries;
}

QByteArrayList readExtraFolders() {
    const SettingsStore store;
    return readCountedBytes(store, kNewFolders, {});
}

void writeExtraFolders(const QByteArrayList& folders) {
    SettingsStore store;
    writeCountedBytes(store, kNewFolders, folders);
}

}  // namespace vastel
