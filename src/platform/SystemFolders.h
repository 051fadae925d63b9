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

}  // namespace vastel
