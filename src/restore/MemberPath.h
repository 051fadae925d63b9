#pragma once

#include <QByteArray>
#include <QByteArrayList>

namespace vastel {

// A member name taken apart into the folders below the destination and the file's own name.
struct MemberPath {
    QByteArrayList folders;
    QByteArray file;  // empty for a folder member ("a/b/")
    // The path as it lands, with empty and "." components dropped: two members with the same
    // key would write the same file.
    QByteArray key() const;
};

// Splits a raw member name at "/". Refused (false): an empty name, an absolute name, and any
// ".." component, since each could put a file outside the destination.
bool splitMemberName(const QByteArray& name, MemberPath& out);

}  // namespace vastel
