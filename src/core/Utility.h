#pragma once

#include "platform/DirEntry.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace vastel {

// Paths: folder + name, with one "/" between them.
QString joinPath(const QString& folder, const QString& name);
QByteArray joinPath(const QByteArray& folder, const QByteArray& name);

// Numbers. Conversions never fail visibly: unreadable text reads as 0.
int safeStrToInt(const QString& text);
double safeStrToFloat(const QString& text);  // the locale's number format
QString thousandsText(qint64 value);         // 1234567 -> "1,234,567" (locale separators)
QString numberText(double value);            // rounded, separators, <= 14 significant digits

// Texts.
bool isBlank(const QString& text);  // only backspace, LF, CR and space
QString digitsOnly(const QString& text);
QString fieldOfLine(const QString& line, int n);  // tab-separated, 1-based, trimmed

// Directory entries: 1 for "." and "..", 0 for a folder, 2 for a file.
int entryKind(const DirEntry& entry);

// File types.
QString fileTypeText(const QString& extension);  // ".txt" -> description
void fillWildcardList(QStringList& list, bool withAll);

}  // namespace vastel
