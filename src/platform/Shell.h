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

// The desktop hand-off, installed by the program at start. This layer links no GUI, so
// without it (vastel-scan, engine tests) nothing can be opened.
void setDesktopOpener(std::function<bool(const QUrl&)> opener);
// Tests replace the desktop hand-off; pass nullptr to restore it.
void setOpenUrlHandler(std::function<bool(const QUrl&)> handler);

}  // namespace vastel
