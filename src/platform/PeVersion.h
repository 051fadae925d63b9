#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

namespace vastel {

// The program's own reader of version resources in PE program files (.exe, .dll, .sys, ...).
// Every offset and length read from the file is checked against the file and its section, so
// hostile or truncated files give "no version information" and never a read out of bounds.

// Reads `length` bytes at `offset` into `out`; false when they cannot be read.
using ReadAt = std::function<bool(qint64 offset, qint64 length, char* out)>;

// The raw version-information block (VS_VERSIONINFO) of the first RT_VERSION resource;
// nullopt when the file is not a PE image or carries none.
std::optional<QByteArray> readFileVersionInfo(const QByteArray& nativePath);
std::optional<QByteArray> versionInfoFromImage(const QByteArray& image);
std::optional<QByteArray> versionInfoFromReader(qint64 size, const ReadAt& readAt);

// Looks a value up in a block by its path of keys, such as "\VarFileInfo\Translation" or
// "\StringFileInfo\040904b0\CompanyName" (keys compared without regard to ASCII case).
// The value's bytes as stored; nullopt when a key on the way is missing.
std::optional<QByteArray> versionQueryValue(const QByteArray& block, const QString& subBlock);
// A text value, up to its terminating NUL.
std::optional<QString> versionQueryString(const QByteArray& block, const QString& subBlock);

}  // namespace vastel
