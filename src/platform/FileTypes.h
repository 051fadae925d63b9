#pragma once

#include <QString>
#include <QStringList>

namespace vastel {

// File types come from the shared MIME database. For an extension such as ".txt" the type
// identifier is the MIME type its glob "*.txt" gives and the description is that type's
// comment; an extension that only matches application/octet-stream is unknown (both empty).
struct FileTypeInfo {
    QString identifier;
    QString description;
};
FileTypeInfo fileTypeOfExtension(const QString& extension);

// "*" + every simple glob suffix of the database (at most 4 characters after the dot),
// sorted without regard to case, without repeats.
QStringList registeredExtensionPatterns();

}  // namespace vastel
