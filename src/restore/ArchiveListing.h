#pragma once

#include <QByteArray>
#include <QString>
#include <ctime>
#include <vector>

namespace vastel {

// One member of an archive as stored: its name as raw bytes, so that a name that is not UTF-8
// comes back as the very bytes it was archived under.
struct ArchiveMember {
    quint64 index = 0;  // libzip's index
    QByteArray name;
    qint64 size = 0;  // uncompressed
    qint64 compressedSize = 0;
    time_t mtime = 0;
    quint32 crc = 0;
    bool encrypted = false;
    bool isFolder() const { return name.endsWith('/'); }
};

// What an archive holds, for the restore window's contents view.
struct ArchiveListing {
    bool opened = false;
    QString error;  // libzip's words when it could not be opened
    QByteArray comment;
    std::vector<ArchiveMember> members;
};

// Reads the member list and the comment of an archive; opened is false for a file that is
// not a readable ZIP archive.
ArchiveListing listArchive(const QByteArray& archivePath);

// Whether the file opens as a ZIP archive (the reader is closed at once).
bool canOpenArchive(const QByteArray& archivePath);

}  // namespace vastel
