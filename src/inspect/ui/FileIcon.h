#pragma once

#include <QByteArray>
#include <QIcon>

namespace vastel {

// The icon shown for a path: the program's folder icon for a folder, else the icon the
// desktop associates with the file, else the program's placeholder.
QIcon fileIcon(const QByteArray& path);

// The program's own icons, drawn once: "DIRECTORY" (a folder) and "NOICON" (a blank page).
QIcon directoryIcon();
QIcon noIcon();

}  // namespace vastel
