#pragma once

#include "core/ScanTarget.h"
#include "platform/Volumes.h"

#include <QByteArrayList>
#include <functional>
#include <vector>

namespace vastel {

// The drives a window offers in its drive list and how it writes them.
struct DriveSource {
    std::vector<DriveType> types;
    bool lowerCase = false;  // label and share text in lower case (else upper case)
    // Where the volumes come from; empty means the mounted volumes. Tests give their own.
    std::function<std::vector<Volume>()> volumes;

    std::vector<Volume> readVolumes() const;
    bool offers(DriveType type) const;

    static DriveSource finders();      // duplicates and file hogs, quick clean, folder hogs
    static DriveSource filesByDate();  // files by date: no CD-ROM drives
    static DriveSource statistics();   // the statistics window and its wizard
};

// One entry of a drive list before it is shown.
struct DriveListEntry {
    ScanTarget target;
    DriveType type = DriveType::Fixed;  // the glyph of a drive entry
    bool checked = false;
};

// "/ [LABEL]", "/mnt/nas //SERVER/SHARE" or "/media/stick"; the case rule applies to the label
// and the share only, never to the path.
QString driveEntryText(const Volume& volume, bool lowerCase);

// The entries of a drive list: the source's drives in mount-point order, all unchecked but the
// current drive (else the drive at "/"), then, with folders, the extra folders of "NewFolders".
std::vector<DriveListEntry> driveListEntries(const DriveSource& source, bool withFolders);

// The extra folders stored in "NewFolders", in stored order, without empty entries.
QByteArrayList readExtraFolders();
void writeExtraFolders(const QByteArrayList& folders);

}  // namespace vastel
