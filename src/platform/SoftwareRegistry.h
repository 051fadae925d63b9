#pragma once

#include <QString>

namespace vastel {

// Reads one "name=value" line of a file in the software registry's user branch
// ($XDG_CONFIG_HOME mirrored: a folder is a key, a text file is a key whose values are its
// name=value lines) or machine branch ("etc" mirrors /etc). The key path may start with
// "Software\" and uses "\" or "/" between its parts. Empty when the key or value is missing,
// unreadable, binary or larger than 1 MiB.
QString readUserRegText(const QString& keyPath, const QString& valueName);
QString readMachineRegText(const QString& keyPath, const QString& valueName);

}  // namespace vastel
