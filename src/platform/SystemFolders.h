#pragma once

#include <QByteArray>
#include <QByteArrayList>

namespace vastel {

// The folders of the PATH environment variable, read whole, split at ":"; empty parts dropped.
QByteArrayList searchPathFolders();
QByteArrayList splitSearchPath(const QByteArray& pathValue);
// The system folder and the Windows folder of the program's protection rules.
QByteArray systemFolder();   // "/usr/lib/"
QByteArray windowsFolder();  // "/etc/"
// The operating system's own top-level folders (/bin, /boot, /dev, /etc, ...).
const QByteArrayList& systemTopFolders();
// The user the program runs as (effective uid).
unsigned effectiveUserId();
// The owner of the path itself (a link is not followed); false when it cannot be read.
bool pathOwner(const QByteArray& path, unsigned* uid);

}  // namespace vastel
