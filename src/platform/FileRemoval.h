#pragma once

#include "platform/FolderHandle.h"

#include <QByteArray>

namespace vastel {

// Removes the regular file at exactly this path. Nothing is removed when the path now names a
// folder, a link or a special file, or (with expected) a different file than the one seen
// before.
RemoveResult removeRegularFile(const QByteArray& path, const FileIdentity* expected = nullptr);

// Opens the regular file at this path for reading; a link in the last component is refused.
bool openRegularFile(const QByteArray& path, OpenedFile& out);

// The folder part and the name of a path ("/a/b" -> "/a", "b"; "/b" -> "/", "b").
void splitPath(const QByteArray& path, QByteArray& folder, QByteArray& name);

}  // namespace vastel
