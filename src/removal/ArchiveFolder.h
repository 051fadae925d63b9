#pragma once

#include <QByteArray>
#include <QChar>
#include <QDateTime>
#include <QString>

namespace vastel {

// The program-wide folder in which archives of removed files are made.
extern QByteArray archiveFolder;

// Reads "ZipFile"/"Path" into archiveFolder; the default is the user's home folder.
void getDefaultZipPath();

// The archive for files of one drive removed by one source, in archiveFolder (the home folder
// when it is empty): "Drive-" + letter + "-" + tag + start as "ddMMMyyHHmm" + ".zip".
QByteArray archiveFileName(const QString& tag, QChar driveLetter, const QDateTime& start);

// The drive letter that a path's archive is named after: every absolute path lies under the
// one root "/", drive "R".
QChar driveLetterOf(const QByteArray& path);

// The member name of a file: its path without the leading "/".
QByteArray archiveMemberName(const QByteArray& path);

}  // namespace vastel
