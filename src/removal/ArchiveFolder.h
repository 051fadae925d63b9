#pragma once

#include <QByteArray>

namespace vastel {

// The program-wide folder in which archives of removed files are made.
extern QByteArray archiveFolder;

// Reads "ZipFile"/"Path" into archiveFolder; the default is the user's home folder.
void getDefaultZipPath();

}  // namespace vastel
