#pragma once

#include <QByteArray>
#include <QIcon>

namespace vastel {

// The icon the desktop associates with a file: the theme icon of its MIME type (by name and
// content), else of the type's generic kind. A null icon when the theme has neither.
QIcon associatedIcon(const QByteArray& nativePath);

}  // namespace vastel
