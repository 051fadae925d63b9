#include "protect/FolderListFile.h"

#include "core/Utility.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vastel {

QString folderListFilePath() {
    return joinPath(programDataFolder(), QStringLiteral("folders.txt"));
}

QByteArrayList parseFolderList(const QByteArray& text) {
    QByteArrayList entries;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0) end = text.size();
        qsizetype stop = end;
        if (stop > start && text[stop - 1] == '\r') --stop;  // one CR belongs to the line end
        if (stop > start) entries.append(text.mid(start, stop - start));
        start = end + 1;
    }
    return entries;
}

QByteArray folderListText(const QByteArrayList& entries) {
    QByteArray text;
    for (const QByteArray& e : entries) {
        if (e.isEmpty() || e.contains('\n')) continue;
        text += e;
        text += "\r\n";
    }
    return text;
}

bool readFolderListFile(const QString& path, QByteArrayList* entries) {
    entries->clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    *entries = parseFolderList(file.readAll());
    return file.error() == QFileDevice::NoError;
}

bool saveFolderListFile(const QString& path, const QByteArrayList& entries) {
    const QByteArray text = folderListText(entries);
    if (text.isEmpty()) return !QFileInfo::exists(path) || QFile::remove(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
    // Written aside and renamed over the old file: a full disk never leaves half a list.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    if (file.write(text) != text.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace vastel
