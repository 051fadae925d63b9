#pragma once

#include <QByteArray>
#include <QUrl>
#include <functional>

namespace vastel {

// Opens a file with the desktop's associated program; false when nothing could open it.
bool openWithAssociatedProgram(const QByteArray& nativePath);
// Opens a URL (help page, web address) in the desktop's browser.
bool openUrl(const QUrl& url);
// A file URL that carries the exact bytes of the path.
QUrl fileUrl(const QByteArray& nativePath);

// Tests replace the desktop hand-off; pass nullptr to restore it.
void setOpenUrlHandler(std::function<bool(const QUrl&)> handler);

}  // namespace vastel
