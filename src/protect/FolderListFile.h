#pragma once

#include <QByteArrayList>
#include <QString>

namespace vastel {

// "folders.txt", the Safe Harbor's folder list: one entry per line, path bytes, CR LF line
// ends; its absence means that no list has been built.

// <program data folder>/folders.txt
QString folderListFilePath();

// The entries of the file's text: lines ended by LF or CR LF, blank lines skipped, every
// other byte kept (long lines, any encoding).
QByteArrayList parseFolderList(const QByteArray& text);
// The text of the entries, each line ended by CR LF. Entries that hold a line feed cannot be
// written as one line and are left out.
QByteArray folderListText(const QByteArrayList& entries);

// False when the file is absent or cannot be read.
bool readFolderListFile(const QString& path, QByteArrayList* entries);
// Writes the entries (making the folder when needed), or deletes the file when there are
// none. False when that failed; the old file then stays as it was.
bool saveFolderListFile(const QString& path, const QByteArrayList& entries);

}  // namespace vastel
