#pragma once

#include <QByteArray>
#include <QString>
#include <ctime>
#include <vector>

namespace vastel::test {

// What a ZIP archive holds, read back with libzip's consistency checks.
struct ZipMember {
    QByteArray name;  // raw bytes
    qint64 size = 0;
    time_t mtime = 0;
    int method = -1;
};
struct ZipContent {
    bool opened = false;
    QByteArray comment;
    std::vector<ZipMember> members;
    std::vector<QByteArray> names() const;
};
ZipContent readZip(const QByteArray& archivePath);
QByteArray zipMemberData(const QByteArray& archivePath, const QByteArray& memberName);
// `unzip -t -qq` accepts the archive.
bool unzipTestPasses(const QByteArray& archivePath);

bool pathExists(const QByteArray& path);  // lstat
QByteArray readWholeFile(const QByteArray& path);
QByteArray randomBytes(qsizetype size, quint32 seed);           // incompressible
std::vector<QByteArray> folderNames(const QByteArray& folder);  // sorted

// A tmpfs mounted in a private mount namespace of this thread, gone with the process.
// False when this process may not mount (not root, no namespaces).
bool mountPrivateTmpfs(const QByteArray& where);
void unmountPrivate(const QByteArray& where);

}  // namespace vastel::test
